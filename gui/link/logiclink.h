// Folder link/: the exchange with the library. The binding and the request
// buffer (logiclink), the handlers of the reply items (replies), move entry
// and hints (selection) and the exchanges the commands start (operations).
// Its four modules include each other, since a reply's handler may send again
// (the computer's move, a menu answer, the next round): the one loop of the
// program, kept inside this folder. Uses dialogs/, table/ and core/.
//
// The program's end of the wire to the game-logic library: binding libcasino.so,
// the 256-byte request buffer with its one write position, the request builders,
// and SendToLogic, which sends a request, processes the reply and sends whatever
// follow-up request the reply's handlers leave in the buffer.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "core/globals.h"
#include "wire.h"

// The library's entry: request text in, reply text out (at least 1001 bytes of
// room); returns the reply's length.
using LogicEntry = std::int32_t (*)(const char* request, char* reply);

using wire::kReplySize;
using wire::kRequestSize;
using RequestBuffer = Checked<char, 0, kRequestSize - 1>;
using ReplyBuffer = Checked<char, 0, kReplySize - 1>;

// The index where the next request character goes. MakeMessage sets it to 3,
// every append advances it, SendToLogic sets it to 0 after each call of the
// library. Not 0 after a reply has been processed: a follow-up request waits.
extern int writePos;
// Drops a follow-up request that a reply left in the buffer, so that it is not sent.
void DropFollowUp();

// The library's file name on this platform and the name of its entry.
extern const char kLibraryFile[];
extern const char kEntryName[];

// Loads the library from `folder` and looks up its entry. When the library
// cannot be loaded, shows the failure message and returns false; the caller
// then stops the program. A missing entry is not a failure here: every send
// then reports it.
bool BindLogic(const QString& folder);
// Unloads the library and forgets its entry.
void ReleaseLogic();
// The entry in use, or none. Tests put a stand-in in its place.
LogicEntry CurrentLogicEntry();
void SetLogicEntry(LogicEntry entry);

// Request builders; all write at the write position.
void MakeMessage(char code, RequestBuffer& buffer);     // "<" code ">" at 0..2
void AddMessageCode(char code, RequestBuffer& buffer);  // "<" code ">"
void AddChar(char c, RequestBuffer& buffer);
void AddDigit(int n, RequestBuffer& buffer);   // n in 0..9 as '0' + n
void AddFlag(bool on, RequestBuffer& buffer);  // "1" or "0"
void AddText(const std::string& text, RequestBuffer& buffer);
// The settings after MakeMessage('I'): card back, both players, sound, animation, delay.
void MakeSettingsMessage(RequestBuffer& buffer);
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

// Sends the request built in `buffer` (the terminator item is appended here)
// and processes the reply; repeats while the reply leaves a follow-up request.
// A `menuAnswer` (1 Build to 4 Put) answers a Choose Action menu in the
// first reply without asking, when the menu offers that kind: a move the
// player has already chosen by its kind, as an accepted hint is.
void SendToLogic(RequestBuffer& buffer, int menuAnswer = 0);
// The library's reply to the last request SendToLogic sent (the last
// follow-up's, when there were any); empty when nothing could be sent.
const std::string& LastReply();
// Sends the request built in `buffer` as SendToLogic does, but hands the
// reply back unprocessed, untraced and unshown: the debug check that the
// program and the library talk. False, with the reply untouched, when there
// is no entry (reported as for every send).
bool SendUnprocessed(RequestBuffer& buffer, ReplyBuffer& reply, std::int32_t& length);

// The trace log: while open, every call of the library writes "-> " + request
// and "<- " + reply lines. The program opens it at start when it is built with
// CASINO_TRACE_LOG.
#ifdef CASINO_TRACE_LOG
constexpr bool kTraceSwitch = true;
#else
constexpr bool kTraceSwitch = false;
#endif
extern const char kTraceFile[];
bool OpenTraceLog(const QString& path);
void CloseTraceLog();
