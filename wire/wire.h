// What the library and the program both know of the exchange between them:
// the size of a reply, the error texts the program acts on, and the names
// under which a refused records file is kept aside. Plain constants and one
// formatting function without allocation, so both sides include it as it is.
#pragma once

#include <cstddef>
#include <cstdio>

namespace wire {

// A reply's buffer: up to 1000 characters of text and the terminating zero.
constexpr int kReplySize = 1001;
// A request's buffer, which the program fills and the library reads.
constexpr int kRequestSize = 256;

// The text of the error item that answers a save request that wrote nothing.
constexpr char kSaveError[] = "ERROR: Unable to save game data";
// The error items of a begin request that left the records file where it is;
// every save is then refused, so that the file is never replaced. The file
// is there but could not be opened or read (no permission, no file
// descriptor left, a read error) ...
constexpr char kReadError[] = "ERROR: Unable to read game data";
// ... or it was read and refused, and could not be kept aside (every
// kept-aside name taken, or the folder not writable).
constexpr char kKeepError[] = "ERROR: Unable to keep damaged game data aside";

// The records file, in the folder the game runs in.
constexpr char kRecordsFile[] = "kzq.gds";
// How many kept-aside names there are: ".bad", then ".bad1" to ".bad999".
constexpr int kKeptNames = 1000;

// Writes the kept-aside name number `index` of `name` into `out`:
// "<name>.bad" for 0, "<name>.bad<index>" for 1 to 999. False when the index
// is out of range or the name does not fit.
inline bool KeptAsideName(char* out, std::size_t size, const char* name, int index) {
    if (index < 0 || index >= kKeptNames) return false;
    const int written = index > 0 ? std::snprintf(out, size, "%s.bad%d", name, index)
                                  : std::snprintf(out, size, "%s.bad", name);
    return written >= 0 && static_cast<std::size_t>(written) < size;
}

}  // namespace wire
