#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <memory>

#include "boxes.h"
#include "casinogui.h"
#include "globals.h"
#include "logiclink.h"
#include "tableview.h"

std::vector<std::string> StandIn::requests;
std::deque<std::string> StandIn::replies;
QStringList PassThrough::sent;

namespace {
LogicEntry realEntry = nullptr;
TCasinoGUI* testWindow = nullptr;

std::int32_t PassThroughEntry(const char* request, char* reply) {
    PassThrough::sent << QString::fromLatin1(request);
    return realEntry(request, reply);
}

std::int32_t StandInEntry(const char* request, char* reply) {
    StandIn::requests.emplace_back(request);
    std::string text = "</>";
    if (!StandIn::replies.empty()) {
        text = StandIn::replies.front();
        StandIn::replies.pop_front();
    }
    text.resize(std::min<std::size_t>(text.size(), kReplySize - 1));
    std::memcpy(reply, text.c_str(), text.size() + 1);
    return std::int32_t(text.size());
}
}  // namespace

void StandIn::Install() {
    requests.clear();
    replies.clear();
    SetLogicEntry(&StandInEntry);
}

void StandIn::Script(std::initializer_list<std::string> scripted) {
    replies.insert(replies.end(), scripted.begin(), scripted.end());
}

MessageLog::MessageLog() {
    SetMessageSink([this](const QString& text) { texts << text; });
}

MessageLog::~MessageLog() {
    SetMessageSink({});
}

void AnswerNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            if (++*tries > 1000) {  // no box came within about five seconds
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}

void AnswerNextConfirm(bool ok, ConfirmAnswer* seen) {
    AnswerNextModal([ok, seen](QWidget* modal) {
        auto* box = dynamic_cast<TConfirmBox*>(modal);
        if (!box) {
            modal->close();
            return;
        }
        if (seen) {
            seen->asked = true;
            seen->caption = box->windowTitle();
            seen->text = box->Label1->text();
        }
        (ok ? box->OKButton : box->CancelButton)->click();
    });
}

void ResetAll() {
    ResetProgramState();
    ClearTable();
    writePos = 0;
    SetLogicEntry(nullptr);
    SetMessageSink({});
    SetBeepSink({});
}

bool PassThrough::Install() {
    LogicEntry current = CurrentLogicEntry();
    if (current != &PassThroughEntry) realEntry = current;
    if (!realEntry) return false;
    sent.clear();
    SetLogicEntry(&PassThroughEntry);
    return true;
}

TCasinoGUI* OpenTestWindow(bool bindLibrary) {
    ResetAll();
    SetBeepSink([] {});
    testWindow = new TCasinoGUI;
    if (bindLibrary && !testWindow->FormCreate(QStringLiteral(CASINO_LIB_DIR))) {
        qWarning("the library in %s cannot be bound", CASINO_LIB_DIR);
        return testWindow;
    }
    testWindow->show();
    if (!QTest::qWaitForWindowExposed(testWindow)) qWarning("the test window is not exposed");
    LoadPictures();
    return testWindow;
}

void CloseTestWindow() {
    delete testWindow;
    testWindow = nullptr;
}
