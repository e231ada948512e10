#include "movecode.h"

namespace kzq {

// Built in locals and stored at the end: the compiler cannot tell that
// storing into the record leaves the game unchanged, and would read the
// column count again on every pass.
Piles::Piles(const Game& g) {
    int occupiedNow = 0, blocksNow = 0, singlesNow = 0;
    unsigned builds = 0, blockRanks = 0, sumsNow = 1;
    const int columns = g.numColumns;
    for (int c = 0; c < columns; ++c) {
        const Stack& s = g.tableau[c];
        if (s.numCards == 0) continue;
        int bit = 1 << c;
        int v = s.value;
        value[c] = v;
        occupiedNow |= bit;
        singlesNow |= s.numCards == 1 ? bit : 0;
        // A value past 14 is neither built on nor part of a capture.
        unsigned rank = unsigned(v) <= 14u ? RankSum(v) : 0;
        if (s.isBlock) {
            blocksNow |= bit;
            blockRanks |= rank;
        } else if (rank != 0) {
            builds |= rank;
            sumsNow = (sumsNow | sumsNow << v) & kSumsUpTo14;
        }
    }
    occupied = occupiedNow, blocks = blocksNow, singles = singlesNow;
    buildValues = builds, blockValues = blockRanks, sums = sumsNow;
}

}  // namespace kzq
