// The library allocates nothing while it plays: every container has a fixed
// capacity and the reply is built in a fixed buffer. This test program
// replaces operator new/delete and the malloc family, counts every heap
// allocation made while counting is on, and plays whole games through
// CallTheLogic with it on.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "logic.h"
#include "protocol.h"

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {

bool counting = false;
long allocations = 0;

void* Counted(void* p) {
    if (counting) ++allocations;
    return p;
}

}  // namespace

extern "C" {
void* malloc(std::size_t n) {
    return Counted(__libc_malloc(n));
}
void* calloc(std::size_t n, std::size_t size) {
    return Counted(__libc_calloc(n, size));
}
void* realloc(void* p, std::size_t n) {
    return Counted(__libc_realloc(p, n));
}
void free(void* p) {
    __libc_free(p);
}
void* memalign(std::size_t align, std::size_t n) {
    return Counted(__libc_memalign(align, n));
}
void* aligned_alloc(std::size_t align, std::size_t n) {
    return Counted(__libc_memalign(align, n));
}
int posix_memalign(void** out, std::size_t align, std::size_t n) {
    void* p = __libc_memalign(align, n);
    if (!p) return ENOMEM;
    *out = Counted(p);
    return 0;
}
}

void* operator new(std::size_t n) {
    void* p = Counted(__libc_malloc(n ? n : 1));
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void operator delete(void* p) noexcept {
    __libc_free(p);
}
void operator delete[](void* p) noexcept {
    __libc_free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    __libc_free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    __libc_free(p);
}

namespace {

char reply[kzq::kReplySize];

void Call(const char* request) {
    CallTheLogic(request, reply);
}

// The text of the first item with this code in the reply, copied into `out`.
bool ItemText(char code, char* out, std::size_t size) {
    const char tag[4] = {'<', code, '>', 0};
    const char* at = std::strstr(reply, tag);
    if (!at) return false;
    at += 3;
    std::size_t n = 0;
    while (at[n] && at[n] != '<' && n + 1 < size)
        ++n;
    std::memcpy(out, at, n);
    out[n] = 0;
    return true;
}

// The player named by the reply's last player item, 0 when there is none.
char LastPlayer() {
    char who = 0;
    for (const char* at = std::strstr(reply, "<P>"); at; at = std::strstr(at + 3, "<P>"))
        who = at[3];
    return who;
}

// Plays the game dealt by the last request to its end: player 1 as a human
// who follows the hints (answering any choice menu with the Take, Build or
// Block it offers) when `human1`, otherwise by computer moves; player 2
// always by computer moves. Returns false when the game gets stuck.
bool PlayToTheEnd(bool human1) {
    char text[32], request[40];
    for (int calls = 0; calls < 2000; ++calls) {
        if (ItemText('M', text, sizeof text) && std::strlen(text) == 6) {
            if (text[0] == '5') return true;  // a winner
            Call("<R>");
            continue;
        }
        char who = LastPlayer();
        if (who == '2' || (who == '1' && !human1)) {
            Call("<C>");
        } else if (who == '1') {
            Call("<?>");
            if (!ItemText('?', text, sizeof text)) return false;
            std::snprintf(request, sizeof request, "<1>%s", text + 1);
            Call(request);
            if (ItemText('M', text, sizeof text) && std::strlen(text) == 2) {
                int kinds = std::atoi(text);
                Call(kinds & 2 ? "<Y>2" : kinds & 1 ? "<Y>1" : kinds & 4 ? "<Y>3" : "<Y>4");
            }
        } else {
            return false;
        }
    }
    return false;
}

TEST(AllocationCounter, SeesNewMallocAndTheCLibrary) {
    counting = true;
    allocations = 0;
    int* p = new int(7);
    void* q = std::malloc(16);
    std::FILE* f = std::fopen("alloc_probe.txt", "w");  // the C library's own buffers
    counting = false;
    long seen = allocations;
    delete p;
    std::free(q);
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    std::remove("alloc_probe.txt");
    EXPECT_GE(seen, 3);
}

TEST(Allocations, NoneWhileComputersPlayWholeGames) {
    kzq::ResetLogic();
    Call("<B>9<I>11Alloc One<I>29Alloc Two");  // the first call may set up stdio
    counting = true;
    allocations = 0;
    int finished = 0;
    for (int game = 0; game < 20; ++game) {
        Call("<N>");
        finished += PlayToTheEnd(false);
    }
    counting = false;
    EXPECT_EQ(finished, 20);
    EXPECT_EQ(allocations, 0);
}

TEST(Allocations, NoneWhileAHumanPlaysByHintsAndMenus) {
    kzq::ResetLogic();
    Call("<B>9<I>10Alloc Human<I>29Alloc Two");
    counting = true;
    allocations = 0;
    int finished = 0;
    for (int game = 0; game < 5; ++game) {
        Call("<N>");
        finished += PlayToTheEnd(true);
    }
    // Settings, scores, the Hall of Fame and the other small requests too,
    // and the files: saving, loading, a numbered deal.
    Call("<I><G><U><Q><V><H>01<H>15<I>61<I>0Kh<Y>0<?>");
    Call("<W><B>9<K>1");
    counting = false;
    EXPECT_EQ(finished, 5);
    EXPECT_EQ(allocations, 0);
}

}  // namespace
