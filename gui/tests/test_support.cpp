#include "test_support.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "link/game.h"
#include "table/tableview.h"
#include "window/casinogui.h"

std::vector<std::string> Sent::requests;
std::deque<std::string> StandIn::replies;
std::function<void(const std::string&)> PassThrough::before;
std::function<void(const std::string&)> PassThrough::after;

namespace {

LogicEntry realEntry = nullptr;
TCasinoGUI* testWindow = nullptr;

// The game of a test that opens no window.
std::unique_ptr<Game> windowlessGame;

// A session starts with messages shown as boxes and beeps silenced.
void StartSession() {
    SetMessageSink({});
    SetBeepSink([] {});
}

std::int32_t PassThroughEntry(const char* request, char* reply) {
    Sent::requests.emplace_back(request);
    if (PassThrough::before) PassThrough::before(request);
    const std::int32_t length = realEntry(request, reply);
    if (PassThrough::after) PassThrough::after(reply);
    return length;
}

std::int32_t StandInEntry(const char* request, char* reply) {
    Sent::requests.emplace_back(request);
    std::string text = "</>";
    if (!StandIn::replies.empty()) {
        text = StandIn::replies.front();
        StandIn::replies.pop_front();
    }
    text.resize(std::min<std::size_t>(text.size(), kReplySize - 1));
    std::memcpy(reply, text.c_str(), text.size() + 1);
    return std::int32_t(text.size());
}

// Polls for an open modal box every 5 ms and hands it to `answer`; with
// `once`, stops after the first box, or after about five seconds without one.
QTimer* StartAnswering(std::function<void(QWidget*)> answer, bool once) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, once, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            if (once && ++*tries > 1000) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        if (once) {
            timer->stop();
            timer->deleteLater();
        }
        answer(modal);
    });
    timer->start();
    return timer;
}

}  // namespace

TCasinoGUI* OpenTestWindow(bool bindLibrary) {
    CloseTestWindow();
    StartSession();
    testWindow = new TCasinoGUI;
    if (bindLibrary) {
        MessageLog log;
        if (!testWindow->FormCreate(QStringLiteral(CASINO_LIB_DIR)) || !log.texts.isEmpty()) {
            qWarning("start-up with the library in %s: %s", CASINO_LIB_DIR,
                     qPrintable(log.texts.join(QLatin1Char('\n'))));
            return nullptr;
        }
    }
    testWindow->show();
    if (!QTest::qWaitForWindowExposed(testWindow)) qWarning("the test window is not exposed");
    testWindow->TheGame().view.LoadPictures();
    return testWindow;
}

TCasinoGUI* FreshTest() {
    TCasinoGUI* window = OpenTestWindow();
    StandIn::Install();
    return window;
}

Game& NewTestGame() {
    CloseTestWindow();
    StartSession();
    windowlessGame = std::make_unique<Game>();
    return *windowlessGame;
}

Game& TestGame() {
    if (testWindow) return testWindow->TheGame();
    if (!windowlessGame) windowlessGame = std::make_unique<Game>();
    return *windowlessGame;
}

TableView& TestView() {
    return TestGame().view;
}

LogicLink& TestLink() {
    return TestGame().link;
}

GameMirror& TestMirror() {
    return TestGame().mirror;
}

void CloseTestWindow() {
    delete testWindow;
    testWindow = nullptr;
}

QStringList Sent::List() {
    QStringList list;
    for (const std::string& request : requests)
        list << QString::fromStdString(request);
    return list;
}

void Sent::Clear() {
    requests.clear();
}

void StandIn::Install() {
    Sent::Clear();
    replies.clear();
    TestLink().SetEntry(&StandInEntry);
}

void StandIn::Attach(LogicLink& link) {
    link.SetEntry(&StandInEntry);
}

void StandIn::Script(std::initializer_list<std::string> scripted) {
    replies.insert(replies.end(), scripted.begin(), scripted.end());
}

bool PassThrough::Install(LogicLink& link) {
    LogicEntry current = link.Entry();
    if (current != &PassThroughEntry) realEntry = current;
    if (!realEntry) return false;
    Sent::Clear();
    link.SetEntry(&PassThroughEntry);
    return true;
}

LogicEntry PassThrough::Real() {
    return realEntry;
}

RequestBuffer ProcessReply(const char* text) {
    ReplyBuffer reply;
    std::memcpy(reply.data(), text, std::strlen(text) + 1);
    TestLink().Handle(reply);
    return TestLink().Waiting();
}

void DealPile(int column, std::initializer_list<int> pictures) {
    int depth = 0;
    for (int picture : pictures)
        TestView().DisplayCard(0, column, ++depth, picture, kShow);
}

void DealPile(int column, int depth) {
    for (int d = 1; d <= depth; ++d)
        TestView().DisplayCard(0, column, d, column + d, kShow);
}

void DealHands() {
    for (int slot = 1; slot <= 4; ++slot) {
        TestView().DisplayCard(1, slot, 1, 40 + slot, kShow);
        TestView().DisplayCard(2, slot, 1, 58, kShow);
    }
}

QStringList CapturePileFaults(const TCasinoGUI& window) {
    for (int card = 1; card <= kCapturedMost; ++card) {
        TestView().DisplayCard(3, 1, 1, card, kShow);
        TestView().DisplayCard(4, 1, 1, kCapturedMost + 1 - card, kShow);
    }
    QStringList faults;
    const QRect client = window.Table->rect();
    const QRect button = window.RemainingCardsButton->geometry();
    const QImage& buffer = TestView().BackBuffer();
    const qreal ratio = buffer.devicePixelRatio();
    const auto pixel = [&](int x, int y) {
        return buffer.pixel(int(x * ratio), int(y * ratio)) & 0xffffffu;
    };
    for (int area = 3; area <= 4; ++area) {
        const int out = kMarkGap + kMarkWidth;
        const QRect pile = CapturePileExtent(area, TestView().table.captureCount[area]);
        const QRect outlined = pile.adjusted(-out, -out, out, out);
        if (!client.contains(outlined))
            faults << QStringLiteral("pile %1 leaves the window").arg(area);
        for (const QWidget* other :
             {static_cast<QWidget*>(window.RemainingCardsButton),
              static_cast<QWidget*>(window.Player1Name), static_cast<QWidget*>(window.Player2Name)})
            if (outlined.intersects(other->geometry()))
                faults << QStringLiteral("pile %1 meets %2").arg(area).arg(other->objectName());
        // The top card's right edge is drawn, inside its rounded corners.
        if (pixel(pile.right() - 1, pile.center().y()) == (kTableColour & 0xffffffu))
            faults << QStringLiteral("top card of pile %1 not drawn").arg(area);
    }
    // Nothing drawn under the button nor past the window's right edge.
    for (int y = CapturePlace(3, 0).y(); y < CapturePlace(3, 0).y() + kCardHeight; ++y) {
        for (int x = button.left(); x <= button.right(); ++x)
            if (pixel(x, y) != (kTableColour & 0xffffffu)) {
                faults << QStringLiteral("card under the button at %1, %2").arg(x).arg(y);
                return faults;
            }
        for (int x = client.right() + 1; x < kBackBufferWidth; ++x)
            if (pixel(x, y) != (kTableColour & 0xffffffu) && x < kBackBufferWidth - 1) {
                faults << QStringLiteral("card past the edge at %1, %2").arg(x).arg(y);
                return faults;
            }
    }
    return faults;
}

QPoint PileSpot(int column) {
    const int depth = std::max(TestView().table.pileDepth[0][column], 1);
    return PilePlace(column, depth) + QPoint(kCardWidth / 2, kCardHeight / 2);
}

QPoint HandSpot(int player, int slot) {
    return HandPlace(player, slot) + QPoint(kCardWidth / 2, kCardHeight / 2);
}

QStringList CrampedScoreLabels(const TCasinoGUI& window, int margin) {
    QStringList cramped;
    for (const QWidget* panel : {window.Scores1, window.Panel1, window.Scores2})
        for (const QLabel* label : panel->findChildren<QLabel*>()) {
            const int width = QFontMetrics(label->font(), label).horizontalAdvance(label->text());
            const int room = label->contentsRect().width();
            if (width + 2 * margin > room)
                cramped << QStringLiteral("%1: %2 of %3").arg(label->text()).arg(width).arg(room);
        }
    return cramped;
}

MessageLog::MessageLog() {
    SetMessageSink([this](const QString& text) { texts << text; });
}

MessageLog::~MessageLog() {
    SetMessageSink({});
}

ModalAnswerer::ModalAnswerer(std::function<void(QWidget*)> answer)
    : timer_(StartAnswering(std::move(answer), false)) {}

ModalAnswerer::~ModalAnswerer() = default;

void AnswerNextModal(std::function<void(QWidget*)> answer) {
    StartAnswering(std::move(answer), true);
}

void AnswerNextConfirm(bool ok, ConfirmAnswer* seen) {
    AnswerNext<TConfirmBox>([ok, seen](TConfirmBox* box) {
        if (seen) {
            seen->asked = true;
            seen->caption = box->windowTitle();
            seen->text = box->Label1->text();
        }
        (ok ? box->OKButton : box->CancelButton)->click();
    });
}
