// libFuzzer target for the library's text protocol and its two files.
//
// An input may start with a head that carries the files (a request never
// holds a NUL or a byte 1, so either first byte marks it): NUL, a 16-bit
// little-endian length and that many bytes of the records file "kzq.gds",
// then a length and the bytes of the deals file "Games.py". Length 0xFFFF
// means no records file, or the fixed deals file below; without a head there
// is no records file and the fixed deals file is used. A head that starts
// with byte 1 instead has two more bytes before the files, which arrange the
// folder (see Arrange below): links, a loop, a folder in the file's place,
// every kept-aside name taken, old temporary files, and a file size limit
// for the requests (a full disk). The rest is split at newlines into request
// strings, sent one after the other to CallTheLogic on a library that is
// begun (reading the records file) and has a game dealt.
//
// After every call the reply must be NUL-terminated within the program's
// 1001-byte buffer, end with the terminator item and hold no control
// character (names come from the file and from requests). After every input
// the records are saved, and the saved file must be the block in memory and
// be accepted by the loader as exactly that block. The sanitizers catch
// everything else, and a failed internal check of the library ends the
// process, which the fuzzer reports.
//
// Two request codes are turned into the no-op "@" before sending: "J" places
// cards without regard to the deck, so it can break the 52-card invariant by
// design; "Z" reseeds the shuffle from the clock, which would make a finding
// impossible to replay.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "logic.h"
#include "protocol.h"
#include "records.h"

namespace {

constexpr std::size_t kReplyBuffer = 1001;  // the game program's reply buffer
constexpr std::size_t kMaxRequest = 4096;

char* reply;  // on the heap and exactly 1001 bytes, so that a write past it is caught
char request[kMaxRequest + 1];

void Check(bool ok, const char* what) {
    if (ok) return;
    // So that the input that did it can be written out.
    const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &none);
    rlimit descriptors{};
    getrlimit(RLIMIT_NOFILE, &descriptors);
    descriptors.rlim_cur = descriptors.rlim_max;
    setrlimit(RLIMIT_NOFILE, &descriptors);
    std::fprintf(stderr, "fuzz_requests: %s\nrequest: %s\n", what, request);
    std::abort();
}

void Call() {
    std::memset(reply, 0x55, kReplyBuffer);
    std::int32_t n = CallTheLogic(request, reply);
    const void* nul = std::memchr(reply, 0, kReplyBuffer);
    Check(nul != nullptr, "reply not NUL-terminated within 1001 bytes");
    std::size_t len = std::size_t(static_cast<const char*>(nul) - reply);
    Check(n >= 0 && std::size_t(n) == len, "returned length differs from the reply's");
    Check(len >= 3 && std::memcmp(reply + len - 3, "</>", 3) == 0, "reply does not end with </>");
    for (std::size_t i = 0; i < len; ++i) {
        unsigned char c = static_cast<unsigned char>(reply[i]);
        Check(c >= 0x20 && c != 0x7F, "control character in the reply");
    }
}

void Send(const char* text) {
    std::strcpy(request, text);
    Call();
}

// Deals-file byte of a card: rank first, then spades, hearts, diamonds, clubs.
unsigned char DealByte(int rank, int suit) {
    return static_cast<unsigned char>((rank - 1) * 4 + (4 - suit) + 1);
}

// A deals file with sound and unsound records for "<K>1" to "<K>6".
unsigned char fixedDeals[7][52];
constexpr std::size_t kFixedDealsSize = sizeof fixedDeals - 30;  // the last record is short

void MakeFixedDeals() {
    auto& records = fixedDeals;
    for (int i = 0; i < 52; ++i) {
        records[1][i] = static_cast<unsigned char>(i + 1);             // ordered
        records[2][i] = static_cast<unsigned char>(i % 26 + 1);        // every card twice
        records[3][i] = static_cast<unsigned char>((i * 7) % 52 + 1);  // a permutation
        records[4][i] = static_cast<unsigned char>(52 - i);
        records[6][i] = static_cast<unsigned char>(i + 1);
    }
    records[4][10] = 0;  // a byte outside the deck
    // Deal 5: player 1 holds 7c 7d 2c 3c and the 7h lies on column 5, so
    // "<1>15" offers Take and Block, and "<Y>3" blocks.
    unsigned char* r = records[5];
    const int placed[5][3] = {{51, 7, 1}, {49, 7, 2}, {47, 2, 1}, {45, 3, 1}, {43, 7, 3}};
    bool used[53] = {};
    for (const auto& p : placed) {
        r[p[0]] = DealByte(p[1], p[2]);
        used[r[p[0]]] = true;
    }
    int next = 1;
    for (int i = 0; i < 52; ++i) {
        if (r[i]) continue;
        while (used[next])
            ++next;
        r[i] = static_cast<unsigned char>(next++);
    }
}

void WriteFile(const char* name, const void* bytes, std::size_t size) {
    std::FILE* f = std::fopen(name, "wb");
    Check(f != nullptr, "cannot write a file in the fuzzer's folder");
    bool ok = std::fwrite(bytes, 1, size, f) == size;
    Check(std::fclose(f) == 0 && ok, "cannot write a file in the fuzzer's folder");
}

// Takes one length-prefixed file from the head; -1 when its length is 0xFFFF.
long TakeFile(const std::uint8_t*& data, std::size_t& size, const std::uint8_t*& bytes) {
    if (size < 2) {
        data += size, size = 0;
        return -1;
    }
    std::size_t n = data[0] | std::size_t(data[1]) << 8;
    data += 2, size -= 2;
    if (n == 0xFFFF) return -1;
    if (n > size) n = size;
    bytes = data;
    data += n, size -= n;
    return long(n);
}

// How the folder is arranged before the requests: the first byte of an
// arranging head. The second gives the file size limit of kSizeLimit, in
// eights of a byte's low seven bits, and its top bit takes away every free
// file descriptor during the requests.
enum Arrangement : std::uint8_t {
    kLinked = 0x01,    // kzq.gds is a link to real/records, which holds the records bytes
    kChain = 0x02,     // with kLinked: kzq.gds names real/hop by its full path, which names records
    kDangling = 0x04,  // with kLinked: the target is missing; else kzq.gds links to nothing
    kLoop = 0x08,      // kzq.gds is a link to itself
    kAllKeptTaken = 0x10,     // every kept-aside name beside the file is taken
    kSizeLimit = 0x20,        // the requests run under a file size limit (a full disk)
    kAgedTemporaries = 0x40,  // temporary files of the save pattern, ten minutes old and more
    kFolder = 0x80,           // kzq.gds is a folder (with kLinked: a link to "real/")
};
constexpr std::uint8_t kNoDescriptors = 0x80;

namespace fs = std::filesystem;

struct Arranged {
    std::uint8_t flags = 0;
    rlim_t sizeLimit = RLIM_INFINITY;
    bool noDescriptors = false;
    std::string placed;  // the records bytes placed, when they were
    bool hasRecords = false;
    std::string target;  // where the records bytes are (the end of the link)
};
Arranged arranged;

// The temporary files placed by kAgedTemporaries, and whether the begin
// request should remove them (what a killed save leaves: empty, or a whole
// block that begins with the signature).
struct Temporary {
    const char* suffix;
    bool leftover;
};
constexpr Temporary kTemporaries[] = {{".tmpEmpty1", true},  {".tmpBlock1", true},
                                      {".tmpShort1", false}, {".tmpOther1", false},
                                      {".tmp_Odd_1", false}, {".tmpAB", false}};

std::string TemporaryName(const Temporary& t) {
    return arranged.target + t.suffix;
}

fs::path TargetFolder() {
    const fs::path folder = fs::path(arranged.target).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Whether the library can find the folder of the records to clear old
// temporary files from: not behind a loop or a link to a folder.
bool TemporariesReachable() {
    const std::uint8_t f = arranged.flags;
    return !(f & kLoop) && !((f & kFolder) && (f & kLinked)) && fs::is_directory(TargetFolder());
}

// Takes away (or gives back) every file descriptor not open now.
void SetDescriptorLimit(bool none) {
    static rlimit usual{};
    if (usual.rlim_cur == 0) getrlimit(RLIMIT_NOFILE, &usual);
    rlimit limit = usual;
    if (none) {
        const int lowest = dup(0);  // the next open would get this number
        if (lowest < 0) return;
        close(lowest);
        limit.rlim_cur = rlim_t(lowest);
    }
    Check(setrlimit(RLIMIT_NOFILE, &limit) == 0, "cannot set the descriptor limit");
}

void SetSizeLimit(rlim_t bytes) {
    // A write past the limit then fails (EFBIG), as on a full disk, instead
    // of ending the process (libFuzzer catches the signal for itself).
    if (bytes != RLIM_INFINITY) std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, RLIM_INFINITY};
    Check(setrlimit(RLIMIT_FSIZE, &limit) == 0, "cannot set the file size limit");
}

// Puts the files that this input names in place, and arranges the folder.
void PlaceFiles(const std::uint8_t*& data, std::size_t& size) {
    static bool fixedDealsInPlace = false;
    // Whatever earlier inputs left (kept-aside files, links, folders) goes.
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().filename() != "Games.py") fs::remove_all(entry.path());
    arranged = Arranged{};
    arranged.target = "kzq.gds";
    long records = -1, deals = -1;
    const std::uint8_t *recordBytes = nullptr, *dealBytes = nullptr;
    if (size > 0 && (data[0] == 0 || data[0] == 1)) {
        const bool arranging = data[0] == 1;
        ++data, --size;
        if (arranging && size >= 2) {
            arranged.flags = data[0];
            arranged.sizeLimit = rlim_t(data[1] & 0x7F) * 8;
            arranged.noDescriptors = data[1] & kNoDescriptors;
            data += 2, size -= 2;
        }
        records = TakeFile(data, size, recordBytes);
        deals = TakeFile(data, size, dealBytes);
    }
    const std::uint8_t f = arranged.flags;
    if (f & kLinked) {
        fs::create_directory("real");
        arranged.target = "real/records";
        if (f & kChain) {
            fs::create_symlink("records", "real/hop");
            fs::create_symlink(fs::absolute("real/hop"), "kzq.gds");
        } else {
            fs::create_symlink(arranged.target, "kzq.gds");
        }
    } else if (f & kDangling) {
        fs::create_symlink("nowhere/records", "kzq.gds");
        arranged.target = "nowhere/records";
    }
    if (f & (kLoop | kFolder)) arranged.target = "kzq.gds";  // in place of any link
    if (f & kLoop) {
        fs::remove("kzq.gds");
        fs::create_symlink("kzq.gds", "kzq.gds");
    } else if (f & kFolder) {
        fs::remove("kzq.gds");
        if (f & kLinked)
            fs::create_symlink("real/", "kzq.gds");
        else
            fs::create_directory("kzq.gds");
    } else if (records >= 0 && !(f & kDangling)) {
        WriteFile(arranged.target.c_str(), recordBytes, std::size_t(records));
        arranged.placed.assign(reinterpret_cast<const char*>(recordBytes), std::size_t(records));
        arranged.hasRecords = true;
    }
    if ((f & kAllKeptTaken) && !(f & (kLoop | kFolder)) && fs::is_directory(TargetFolder())) {
        char name[256];
        for (int i = 0; i < wire::kKeptNames; ++i)
            if (wire::KeptAsideName(name, sizeof name, arranged.target.c_str(), i))
                WriteFile(name, "", 0);
    }
    if ((f & kAgedTemporaries) && TemporariesReachable()) {
        kzq::GameData block{};
        kzq::DefaultGameData(block);
        for (const Temporary& t : kTemporaries) {
            const std::string name = TemporaryName(t);
            const std::size_t bytes = t.suffix[4] == 'E'   ? 0
                                      : t.suffix[4] == 'S' ? 100
                                                           : sizeof block;
            if (t.suffix[4] == 'O') block.header.signature[0] = 'Q';  // not the signature
            WriteFile(name.c_str(), &block, bytes);
            const timeval old[2] = {{0, 0}, {0, 0}};
            Check(utimes(name.c_str(), old) == 0, "cannot age a temporary file");
        }
    }
    if (deals >= 0) {
        WriteFile("Games.py", dealBytes, std::size_t(deals));
        fixedDealsInPlace = false;
    } else if (!fixedDealsInPlace) {
        WriteFile("Games.py", fixedDeals, kFixedDealsSize);
        fixedDealsInPlace = true;
    }
    if (f & kSizeLimit) SetSizeLimit(arranged.sizeLimit);
}

// True when the folder of the records holds a file of a save's temporary
// pattern that the input did not place: a failed save must leave none.
bool StrayTemporary() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TargetFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp") == std::string::npos) continue;
        bool placed = false;
        for (const Temporary& t : kTemporaries)
            placed = placed || ((arranged.flags & kAgedTemporaries) &&
                                name == fs::path(TemporaryName(t)).filename().string());
        if (!placed) return true;
    }
    return false;
}

std::string ReadAll(const char* name) {
    std::string bytes;
    if (std::FILE* f = std::fopen(name, "rb")) {
        char buffer[1024];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

// The library never writes a records file that its own loader refuses, never
// overwrites one it refused to save over, and leaves no temporary file.
void CheckSavedRecords() {
    SetSizeLimit(RLIM_INFINITY);
    SetDescriptorLimit(false);
    Check(!StrayTemporary(), "a save left a temporary file");
    if ((arranged.flags & kAgedTemporaries) && TemporariesReachable())
        for (const Temporary& t : kTemporaries)
            Check(fs::exists(TemporaryName(t)) != t.leftover,
                  "an old temporary file was removed or kept wrongly");
    Send("<W>");
    const bool refused = kzq::SavesRefused(kzq::theLogic.recordsFound);
    // Behind a loop, in place of a folder and into a folder that is not there,
    // no save can succeed.
    const bool noPlace = (arranged.flags & (kLoop | kFolder)) ||
                         ((arranged.flags & kDangling) && !(arranged.flags & kLinked));
    if (refused || noPlace) {
        Check(std::strcmp(reply, "</>") != 0, "a save that cannot succeed reported success");
        if (refused && arranged.hasRecords)
            Check(ReadAll(arranged.target.c_str()) == arranged.placed,
                  "a refused records file was overwritten");
        return;
    }
    Check(std::strcmp(reply, "</>") == 0, "the save failed");
    const kzq::GameData& data = kzq::TheGame().data;
    unsigned char saved[sizeof data + 1];
    std::FILE* f = std::fopen(kzq::kRecordsFile, "rb");
    Check(f != nullptr, "no records file after the save");
    std::size_t n = std::fread(saved, 1, sizeof saved, f);
    std::fclose(f);
    Check(n == sizeof data && std::memcmp(saved, &data, n) == 0, "the saved file is not the block");
    if (arranged.flags & kLinked)
        Check(fs::is_symlink(kzq::kRecordsFile), "the save replaced the link");
    kzq::GameData loaded{};
    Check(kzq::LoadGameData(loaded) == kzq::RecordsFound::kLoaded,
          "the loader refuses the saved file");
    Check(std::memcmp(&loaded, &data, sizeof data) == 0, "the loader changes the saved block");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    reply = static_cast<char*>(std::malloc(kReplyBuffer));
    // Every input clears the folder it plays in: a folder of its own, made
    // in the current one, so that nothing beside it (a corpus) is touched.
    static char folder[] = "casino-fuzz.XXXXXX";
    Check(mkdtemp(folder) != nullptr && chdir(folder) == 0, "cannot make the fuzzer's folder");
    static const fs::path made = fs::current_path();
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(made, ignored);
    });
    MakeFixedDeals();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The same start for every input but its files: a fresh library, a human
    // against a computer, and a game dealt.
    PlaceFiles(data, size);
    kzq::ResetLogic();
    Send("<B>9<I>10Fuzz<I>25Computer");
    Send("<N>");
    if (arranged.noDescriptors) SetDescriptorLimit(true);

    std::size_t i = 0;
    while (i < size) {
        std::size_t n = 0;
        bool afterOpen = false;
        while (i < size && data[i] != '\n' && n < kMaxRequest) {
            char c = static_cast<char>(data[i++]);
            if (afterOpen && (c == 'J' || c == 'j' || c == 'Z' || c == 'z')) c = '@';
            afterOpen = c == '<';
            request[n++] = c;
        }
        if (i < size && data[i] == '\n') ++i;
        request[n] = 0;
        Call();
    }
    CheckSavedRecords();
    return 0;
}
