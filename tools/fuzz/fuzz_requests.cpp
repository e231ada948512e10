// libFuzzer target for the library's text protocol. Each input is split at
// newlines into request strings, sent one after the other to CallTheLogic on
// a library that is begun and has a game dealt. After every call the reply
// must be NUL-terminated within the program's 1001-byte buffer and end with
// the terminator item; the sanitizers catch everything else, and a failed
// internal check of the library ends the process, which the fuzzer reports.
//
// Two request codes are turned into the no-op "@" before sending: "J" places
// cards without regard to the deck, so it can break the 52-card invariant by
// design; "Z" reseeds the shuffle from the clock, which would make a finding
// impossible to replay.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
void WriteDeals() {
    unsigned char records[7][52] = {};
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
    std::FILE* f = std::fopen("Games.py", "wb");
    if (!f) return;
    std::fwrite(records, 1, sizeof records - 30, f);  // the last record is short
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    reply = static_cast<char*>(std::malloc(kReplyBuffer));
    WriteDeals();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The same start for every input: no records file, a fresh library, a
    // human against a computer, and a game dealt.
    std::remove("kzq.gds");
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
    return 0;
}
