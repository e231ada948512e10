#include "link/logiclink.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <cstdio>
#include <memory>

#include "dialogs/boxes.h"
#include "link/replies.h"
#include "table/cardtext.h"

int writePos = 0;

const char kLibraryFile[] = "libcasino.so";
const char kEntryName[] = "_CallTheLogic";
const char kTraceFile[] = "Casino.txt";

namespace {

std::unique_ptr<QLibrary> library;
LogicEntry logicEntry = nullptr;
std::FILE* traceLog = nullptr;
std::string lastReply;

void TraceLine(const char* prefix, const char* text) {
    if (!traceLog) return;
    std::fputs(prefix, traceLog);
    std::fputs(text, traceLog);
    std::fputc('\n', traceLog);
    std::fflush(traceLog);
}

}  // namespace

bool BindLogic(const QString& folder) {
    ReleaseLogic();
    library = std::make_unique<QLibrary>(QDir(folder).filePath(QString::fromLatin1(kLibraryFile)));
    if (!library->load()) {
        library.reset();
        ShowMessage(QStringLiteral("Casino has failed to load.  Please make sure that ") +
                    QString::fromLatin1(kLibraryFile) +
                    QStringLiteral(" is in the same directory as the program"));
        return false;
    }
    logicEntry = reinterpret_cast<LogicEntry>(library->resolve(kEntryName));
    return true;
}

void ReleaseLogic() {
    logicEntry = nullptr;
    if (library) {
        library->unload();
        library.reset();
    }
}

LogicEntry CurrentLogicEntry() {
    return logicEntry;
}

void SetLogicEntry(LogicEntry entry) {
    logicEntry = entry;
}

void DropFollowUp() {
    writePos = 0;
}

void MakeMessage(char code, RequestBuffer& buffer) {
    buffer[0] = '<';
    buffer[1] = code;
    buffer[2] = '>';
    writePos = 3;
}

void AddChar(char c, RequestBuffer& buffer) {
    buffer[writePos] = c;
    ++writePos;
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

void MakeSettingsMessage(RequestBuffer& buffer) {
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

namespace {

// False, and the request dropped, when there is no entry to call.
bool EntryAssigned() {
    if (logicEntry) return true;
    ShowMessage(QStringLiteral("DLL FUNCTION NOT ASSIGNED!"));
    writePos = 0;
    return false;
}

// Appends the terminator item and its zero.
void Terminate(RequestBuffer& buffer) {
    AddMessageCode('/', buffer);
    buffer[writePos] = '\0';
}

// Calls the library with the terminated request; the write position goes back to 0.
std::int32_t Call(RequestBuffer& buffer, ReplyBuffer& reply) {
    const std::int32_t length = logicEntry(buffer.data(), reply.data());
    writePos = 0;
    return length;
}

}  // namespace

void SendToLogic(RequestBuffer& buffer, int menuAnswer) {
    lastReply.clear();
    for (;;) {
        if (!EntryAssigned()) return;
        Terminate(buffer);
        const std::string request = BufferText(buffer);
        if (debugFlag) ShowMessage(QStringLiteral("sending ") + WireToText(request));
        TraceLine("-> ", request.c_str());

        ReplyBuffer reply;  // zero-filled: nothing stale is read after a short reply
        const std::int32_t length = Call(buffer, reply);
        lastReply = BufferText(reply);
        if (traceLog || debugFlag) {
            TraceLine("<- ", lastReply.c_str());
            if (debugFlag)
                ShowMessage(WireToText(lastReply) + QStringLiteral(" ") + QString::number(length));
        }
        ProcessMessage(reply, buffer, menuAnswer);
        menuAnswer = 0;  // the follow-ups are the computer's or a new question's
        if (writePos == 0) return;
    }
}

const std::string& LastReply() {
    return lastReply;
}

bool SendUnprocessed(RequestBuffer& buffer, ReplyBuffer& reply, std::int32_t& length) {
    if (!EntryAssigned()) return false;
    Terminate(buffer);
    length = Call(buffer, reply);
    reply[kReplySize - 1] = '\0';
    return true;
}

bool OpenTraceLog(const QString& path) {
    CloseTraceLog();
    traceLog = std::fopen(QFile::encodeName(path).constData(), "w");
    return traceLog != nullptr;
}

void CloseTraceLog() {
    if (traceLog) std::fclose(traceLog);
    traceLog = nullptr;
}
