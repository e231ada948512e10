#include "link/logiclink.h"

#include <QDir>
#include <QFile>
#include <QLibrary>

#include "dialogs/boxes.h"
#include "table/cardtext.h"

const char kLibraryFile[] = "libcasino.so";
const char kEntryName[] = "_CallTheLogic";
const char kTraceFile[] = "Casino.txt";

void MakeMessage(char code, RequestBuffer& buffer) {
    buffer[0] = '<';
    buffer[1] = code;
    buffer[2] = '>';
    buffer.writePos = 3;
}

void AddChar(char c, RequestBuffer& buffer) {
    buffer[buffer.writePos] = c;
    ++buffer.writePos;
}

void AddMessageCode(char code, RequestBuffer& buffer) {
    AddChar('<', buffer);
    AddChar(code, buffer);
    AddChar('>', buffer);
}

void AddDigit(int n, RequestBuffer& buffer) {
    AddChar(char('0' + n), buffer);
}

void AddFlag(bool on, RequestBuffer& buffer) {
    AddChar(on ? '1' : '0', buffer);
}

void AddText(const std::string& text, RequestBuffer& buffer) {
    for (char c : text)
        AddChar(c, buffer);
}

void MakeSettingsMessage(const Settings& settings, RequestBuffer& buffer) {
    AddChar('0', buffer);
    AddChar(settings.backRank, buffer);
    AddChar(settings.backSuit, buffer);
    AddMessageCode('I', buffer);
    AddChar('1', buffer);
    AddDigit(settings.player1Level, buffer);
    AddText(settings.player1Name, buffer);
    AddMessageCode('I', buffer);
    AddChar('2', buffer);
    AddDigit(settings.player2Level, buffer);
    AddText(settings.player2Name, buffer);
    AddMessageCode('I', buffer);
    AddChar('3', buffer);
    AddFlag(settings.sound, buffer);
    AddMessageCode('I', buffer);
    AddChar('4', buffer);
    AddFlag(settings.animation, buffer);
    AddMessageCode('I', buffer);
    AddChar('5', buffer);
    AddDigit(settings.delaySetting, buffer);
}

void MakeGetHighScoresMessage(int row, RequestBuffer& buffer) {
    if (row > 9) {
        AddChar('1', buffer);
        AddDigit(row - 10, buffer);
    } else {
        AddChar('0', buffer);
        AddDigit(row, buffer);
    }
    if (row > kHallRows)
        ShowMessage(QStringLiteral(
            "MakeGetHighScoresMessage Procedure canna handle more than 15 high scores!!!"));
}

void FollowUps::Send(const RequestBuffer& request, int menuAnswer) {
    steps_.push_back({request, menuAnswer, {}});
}

void FollowUps::Then(std::function<void(FollowUps&)> step) {
    steps_.push_back({RequestBuffer{}, 0, std::move(step)});
}

LogicLink::LogicLink(const bool& debug) : debug_(debug) {}

LogicLink::~LogicLink() {
    Release();
    CloseTraceLog();
}

bool LogicLink::Bind(const QString& folder) {
    Release();
    library_ = std::make_unique<QLibrary>(QDir(folder).filePath(QString::fromLatin1(kLibraryFile)));
    if (!library_->load()) {
        library_.reset();
        ShowMessage(QStringLiteral("Casino has failed to load.  Please make sure that ") +
                    QString::fromLatin1(kLibraryFile) +
                    QStringLiteral(" is in the same directory as the program"));
        return false;
    }
    entry_ = reinterpret_cast<LogicEntry>(library_->resolve(kEntryName));
    return true;
}

void LogicLink::Release() {
    entry_ = nullptr;
    if (library_) {
        library_->unload();
        library_.reset();
    }
}

void LogicLink::TraceLine(const char* prefix, const char* text) {
    if (!traceLog_) return;
    std::fputs(prefix, traceLog_);
    std::fputs(text, traceLog_);
    std::fputc('\n', traceLog_);
    std::fflush(traceLog_);
}

// False, and the request dropped, when there is no entry to call.
bool LogicLink::EntryAssigned() {
    if (entry_) return true;
    ShowMessage(QStringLiteral("DLL FUNCTION NOT ASSIGNED!"));
    request_.writePos = 0;
    return false;
}

namespace {

// Appends the terminator item and its zero.
void Terminate(RequestBuffer& buffer) {
    AddMessageCode('/', buffer);
    buffer[buffer.writePos] = '\0';
}

}  // namespace

// Calls the library with the terminated request; no request is built after it.
std::int32_t LogicLink::Call(RequestBuffer& buffer, ReplyBuffer& reply) {
    const std::int32_t length = entry_(buffer.data(), reply.data());
    buffer.writePos = 0;
    request_.writePos = 0;
    return length;
}

void LogicLink::Send(const RequestBuffer& request, int menuAnswer) {
    request_ = request;
    lastReply_.clear();
    for (;;) {
        if (!EntryAssigned()) return;
        Terminate(request_);
        const std::string text = BufferText(request_);
        if (debug_) ShowMessage(QStringLiteral("sending ") + WireToText(text));
        TraceLine("-> ", text.c_str());

        ReplyBuffer reply;  // zero-filled: nothing stale is read after a short reply
        const std::int32_t length = Call(request_, reply);
        lastReply_ = BufferText(reply);
        if (traceLog_ || debug_) {
            TraceLine("<- ", lastReply_.c_str());
            if (debug_)
                ShowMessage(WireToText(lastReply_) + QStringLiteral(" ") + QString::number(length));
        }
        Handle(reply, menuAnswer);
        menuAnswer = 0;  // the follow-ups are the computer's or a new question's
        if (request_.writePos == 0) return;
    }
}

// What the handler asked for at one item, in order. A request sent here
// replaces the one waiting for the end of the outer reply, as every call of
// the library leaves none built.
void LogicLink::RunFollowUps(FollowUps& next) {
    for (std::size_t i = 0; i < next.steps_.size(); ++i) {
        FollowUps::Step step = std::move(next.steps_[i]);
        if (step.run)
            step.run(next);
        else
            Send(step.request, step.menuAnswer);
    }
    next.steps_.clear();
}

void LogicLink::Handle(const ReplyBuffer& reply, int menuAnswer) {
    if (!handler_) return;
    const std::string text = BufferText(reply);
    handler_->BeginReply(text);
    wire::ReplyCursor in(text.c_str());
    for (;;) {
        if (in.AtEnd()) return handler_->EndReply();
        char code = 0;
        const wire::ItemHead head = in.NextItem(code);
        if (head != wire::ItemHead::kItem) {
            handler_->EndReply();
            ShowMessage(head == wire::ItemHead::kEnd
                            ? QStringLiteral("Process Message Error: No <")
                            : QStringLiteral("Process Message Error: No >"));
            return;
        }
        const bool last = in.InLastItem();
        if (code == '/') return handler_->EndReply();
        FollowUps next(request_, menuAnswer);
        if (!handler_->HandleItem(code, in, next))
            ShowMessage(QStringLiteral("Unknown Message Type: ") + QChar::fromLatin1(code));
        RunFollowUps(next);
        if (last) return handler_->EndReply();
    }
}

bool LogicLink::SendUnprocessed(RequestBuffer& buffer, ReplyBuffer& reply, std::int32_t& length) {
    if (!EntryAssigned()) return false;
    Terminate(buffer);
    length = Call(buffer, reply);
    reply[kReplySize - 1] = '\0';
    return true;
}

bool LogicLink::OpenTraceLog(const QString& path) {
    CloseTraceLog();
    traceLog_ = std::fopen(QFile::encodeName(path).constData(), "w");
    return traceLog_ != nullptr;
}

void LogicLink::CloseTraceLog() {
    if (traceLog_) std::fclose(traceLog_);
    traceLog_ = nullptr;
}
