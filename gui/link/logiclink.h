// Folder link/: the exchange with the library. The binding, the request
// buffer and the one driver of every send (logiclink), the handlers of the
// reply items (replies), move entry and hints (selection), the exchanges the
// commands start (operations), the save request (saving) and the game that
// holds them all (game). A reply's handler never sends: it says what is to
// be sent next, and the driver sends it. Uses dialogs/, table/ and core/.
//
// The program's end of the wire to the game-logic library: binding
// libcasino.so, the 256-byte request buffer with its write position, the
// request builders, and the driver (LogicLink::Send), which sends a request,
// hands the reply's items to the reply handler one by one and sends what the
// handler asks for: at once, before the reply's next item (a menu answer, the
// next round, an accepted hint, a new game), or once the whole reply is
// handled (the computer's move).
#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/mirror.h"
#include "reply_cursor.h"
#include "wire.h"

class QLibrary;

// The library's entry: request text in, reply text out (at least 1001 bytes of
// room); returns the reply's length.
using LogicEntry = std::int32_t (*)(const char* request, char* reply);

using wire::kReplySize;
using wire::kRequestSize;
using ReplyBuffer = Checked<char, 0, kReplySize - 1>;

// A request being built: its characters and the index where the next one
// goes. MakeMessage sets the index to 3 and every append advances it; 0 means
// that no request is built.
struct RequestBuffer {
    Checked<char, 0, kRequestSize - 1> text;
    int writePos = 0;

    char& operator[](int index) { return text[index]; }
    const char& operator[](int index) const { return text[index]; }
    char* data() { return text.data(); }
    const char* data() const { return text.data(); }
};

// The library's file name on this platform and the name of its entry.
extern const char kLibraryFile[];
extern const char kEntryName[];

// Request builders; all write at the buffer's write position.
void MakeMessage(char code, RequestBuffer& buffer);     // "<" code ">" at 0..2
void AddMessageCode(char code, RequestBuffer& buffer);  // "<" code ">"
void AddChar(char c, RequestBuffer& buffer);
void AddDigit(int n, RequestBuffer& buffer);   // n in 0..9 as '0' + n
void AddFlag(bool on, RequestBuffer& buffer);  // "1" or "0"
void AddText(const std::string& text, RequestBuffer& buffer);
// The settings after MakeMessage('I'): card back, both players, sound, animation, delay.
void MakeSettingsMessage(const Settings& settings, RequestBuffer& buffer);
// The Hall of Fame row as two digits.
void MakeGetHighScoresMessage(int row, RequestBuffer& buffer);

// The text of a request or reply buffer up to its terminating zero (all of
// it when there is none), as it is traced and shown.
template <int Last>
std::string BufferText(const Checked<char, 0, Last>& buffer) {
    std::string text;
    for (int i = 0; i <= Last && buffer[i] != '\0'; ++i)
        text += buffer[i];
    return text;
}
inline std::string BufferText(const RequestBuffer& buffer) {
    return BufferText(buffer.text);
}

// What a reply handler asks for while it handles an item: requests to send
// and steps to run once the item is handled, before the reply's next item,
// in the order asked; and the request that waits until the whole reply has
// been handled (the computer's move), kept in the link's request buffer.
class FollowUps {
  public:
    FollowUps(RequestBuffer& waiting, int menuAnswer)
        : waiting_(waiting), menuAnswer_(menuAnswer) {}

    // Sends `request` (built and not yet terminated) and handles its reply;
    // with `menuAnswer` as LogicLink::Send does.
    void Send(const RequestBuffer& request, int menuAnswer = 0);
    // Runs `step`, which may exchange with the library through the game and
    // is handed these follow-ups.
    void Then(std::function<void(FollowUps&)> step);
    // The request sent once the whole reply is handled; build it here.
    RequestBuffer& AfterReply() { return waiting_; }
    // Drops the request that waits for the end of the reply.
    void DropAfterReply() { waiting_.writePos = 0; }
    // The kind (1 Build to 4 Put) that answers a Choose Action menu of this
    // reply without asking, when the menu offers it; 0 for none.
    int MenuAnswer() const { return menuAnswer_; }

  private:
    friend class LogicLink;
    struct Step {
        RequestBuffer request;  // sent when its write position is not 0
        int menuAnswer = 0;
        std::function<void(FollowUps&)> run;
    };
    std::vector<Step> steps_;
    RequestBuffer& waiting_;
    int menuAnswer_;
};

// The handlers of a reply's items. The driver hands it every item of a reply
// in order, between BeginReply and EndReply.
class ReplyHandler {
  public:
    // A reply is about to be handled; `text` is all of it.
    virtual void BeginReply(const std::string& text) = 0;
    // Handles one item, reading its parameters from `in`; false when `code`
    // has no handler.
    virtual bool HandleItem(char code, wire::ReplyCursor& in, FollowUps& next) = 0;
    // The reply has been handled, or has ended in a malformed item.
    virtual void EndReply() = 0;

  protected:
    ~ReplyHandler() = default;
};

// The link to the library: the binding, the request buffer and the driver of
// every send. The window's game owns it.
class LogicLink {
  public:
    // `debug` shows every request, reply and error item while it is true.
    explicit LogicLink(const bool& debug);
    ~LogicLink();
    LogicLink(const LogicLink&) = delete;
    LogicLink& operator=(const LogicLink&) = delete;

    // Loads the library from `folder` and looks up its entry. When the library
    // cannot be loaded, shows the failure message and returns false; the caller
    // then stops the program. A missing entry is not a failure here: every send
    // then reports it.
    bool Bind(const QString& folder);
    // Unloads the library and forgets its entry.
    void Release();
    // The entry in use, or none. Tests put a stand-in in its place.
    LogicEntry Entry() const { return entry_; }
    void SetEntry(LogicEntry entry) { entry_ = entry; }

    // Who handles the items of every reply.
    void SetHandler(ReplyHandler* handler) { handler_ = handler; }

    // The driver. Sends `request` (the terminator item is appended here) and
    // hands the reply's items to the handler; a request the handler asks for
    // at an item is sent, and its reply handled, before the next item; the
    // request left for the end of the reply is sent then, and so on, until a
    // reply leaves none. A `menuAnswer` (1 Build to 4 Put) answers a Choose
    // Action menu in the first reply without asking, when the menu offers
    // that kind: a move the player has already chosen by its kind, as an
    // accepted hint is.
    void Send(const RequestBuffer& request, int menuAnswer = 0);
    // Hands the items of `reply` to the handler as Send does, with what they
    // ask for at each item; a request left for the end of the reply stays in
    // Waiting(), unsent.
    void Handle(const ReplyBuffer& reply, int menuAnswer = 0);
    const RequestBuffer& Waiting() const { return request_; }

    // The library's reply to the last request Send sent (the last
    // follow-up's, when there were any); empty when nothing could be sent.
    const std::string& LastReply() const { return lastReply_; }
    // Sends the request built in `buffer` as Send does, but hands the reply
    // back unprocessed, untraced and unshown: the debug check that the
    // program and the library talk. False, with the reply untouched, when
    // there is no entry (reported as for every send).
    bool SendUnprocessed(RequestBuffer& buffer, ReplyBuffer& reply, std::int32_t& length);

    // The trace log: while open, every call of the library writes "-> " +
    // request and "<- " + reply lines.
    bool OpenTraceLog(const QString& path);
    void CloseTraceLog();

  private:
    bool EntryAssigned();
    std::int32_t Call(RequestBuffer& buffer, ReplyBuffer& reply);
    void TraceLine(const char* prefix, const char* text);
    void RunFollowUps(FollowUps& next);

    const bool& debug_;
    std::unique_ptr<QLibrary> library_;
    LogicEntry entry_ = nullptr;
    ReplyHandler* handler_ = nullptr;
    std::FILE* traceLog_ = nullptr;
    std::string lastReply_;
    // The request being sent, and after a reply the one it left for its end.
    RequestBuffer request_;
};

// The trace log's switch: the program opens it at start when it is built
// with CASINO_TRACE_LOG.
#ifdef CASINO_TRACE_LOG
constexpr bool kTraceSwitch = true;
#else
constexpr bool kTraceSwitch = false;
#endif
extern const char kTraceFile[];
