#include "deals.h"

#include <cstdio>

#include "files.h"

namespace kzq {

Card DecodeDealByte(int b) {
    return Card{std::uint8_t((b - 1) / 4 + 1), std::uint8_t(4 - (b - 1) % 4)};
}

bool LoadNumberedDeal(Deck& deck, int k) {
    if (k < 1 || k > kMaxGameNumber) return false;
    // Only a regular file is read: a FIFO or device of that name counts as
    // missing, and is never waited on.
    int fd = -1;
    FileId id;
    if (OpenRegularFile(kDealsFile, fd, id) != Opened::kFile) {
        std::fputs("Unable to find Games.bin\n", stdout);
        std::fflush(stdout);
        return false;
    }
    unsigned char record[kSizeDeck];
    bool got = ReadAt(fd, record, sizeof record, off_t(k) * kSizeDeck);
    CloseFile(fd);
    if (!got) return false;
    // A record must hold every card exactly once; anything else would put
    // cards outside the deck, or one card twice, into play.
    bool seen[kSizeDeck + 1] = {};
    for (unsigned char b : record) {
        if (b < 1 || b > kSizeDeck || seen[b]) return false;
        seen[b] = true;
    }
    deck.Clear();
    for (unsigned char b : record)
        deck.Push(DecodeDealByte(b));
    return true;
}

}  // namespace kzq
