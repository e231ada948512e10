#include "deals.h"

#include <cstdio>

namespace kzq {

Card DecodeDealByte(int b) {
    return Card{std::uint8_t((b - 1) / 4 + 1), std::uint8_t(4 - (b - 1) % 4)};
}

bool LoadNumberedDeal(Deck& deck, int k) {
    if (k < 1 || k > kMaxGameNumber) return false;
    std::FILE* f = std::fopen(kDealsFile, "rb");
    if (!f) {
        std::fputs("Unable to find Games.bin\n", stdout);
        std::fflush(stdout);
        return false;
    }
    unsigned char record[kSizeDeck];
    std::size_t got = 0;
    if (std::fseek(f, long(k) * kSizeDeck, SEEK_SET) == 0)
        got = std::fread(record, 1, sizeof record, f);
    std::fclose(f);
    if (got < sizeof record) return false;
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
