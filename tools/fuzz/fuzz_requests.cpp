// libFuzzer target for the library's text protocol and its two files.
//
// An input may start with a head that carries the files (a request never
// holds a NUL, so a NUL first byte marks it): NUL, a 16-bit little-endian
// length and that many bytes of the records file "kzq.gds", then a length and
// the bytes of the deals file "Games.py". Length 0xFFFF means no records file,
// or the fixed deals file below; without a head there is no records file and
// the fixed deals file is used. The rest is split at newlines into request
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

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "logic.h"
#include "protocol.h"

namespace {

constexpr std::size_t kReplyBuffer = 1001;  // the game program's reply buffer
constexpr std::size_t kMaxRequest = 4096;

char* reply;  // on the heap and exactly 1001 bytes, so that a write past it is caught
char request[kMaxRequest + 1];

void Check(bool ok, const char* what) {
    if (ok) return;
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

// Puts the files that this input names in place.
void PlaceFiles(const std::uint8_t*& data, std::size_t& size) {
    static bool fixedDealsInPlace = false;
    // Refused records files of earlier inputs were kept aside; clear them.
    for (const char* name : {"kzq.gds", "kzq.gds.bad", "kzq.gds.bad1"})
        std::remove(name);
    long records = -1, deals = -1;
    const std::uint8_t *recordBytes = nullptr, *dealBytes = nullptr;
    if (size > 0 && data[0] == 0) {
        ++data, --size;
        records = TakeFile(data, size, recordBytes);
        deals = TakeFile(data, size, dealBytes);
    }
    if (records >= 0) WriteFile("kzq.gds", recordBytes, std::size_t(records));
    if (deals >= 0) {
        WriteFile("Games.py", dealBytes, std::size_t(deals));
        fixedDealsInPlace = false;
    } else if (!fixedDealsInPlace) {
        WriteFile("Games.py", fixedDeals, kFixedDealsSize);
        fixedDealsInPlace = true;
    }
}

// The library never writes a records file that its own loader refuses.
void CheckSavedRecords() {
    Send("<W>");
    Check(std::strcmp(reply, "</>") == 0, "the save failed");
    const kzq::GameData& data = kzq::TheGame().data;
    unsigned char saved[sizeof data + 1];
    std::FILE* f = std::fopen(kzq::kRecordsFile, "rb");
    Check(f != nullptr, "no records file after the save");
    std::size_t n = std::fread(saved, 1, sizeof saved, f);
    std::fclose(f);
    Check(n == sizeof data && std::memcmp(saved, &data, n) == 0, "the saved file is not the block");
    kzq::GameData loaded{};
    Check(kzq::LoadGameData(loaded) == kzq::RecordsFound::kLoaded,
          "the loader refuses the saved file");
    Check(std::memcmp(&loaded, &data, sizeof data) == 0, "the loader changes the saved block");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    reply = static_cast<char*>(std::malloc(kReplyBuffer));
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
