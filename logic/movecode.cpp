#include "movecode.h"

namespace kzq {

Piles::Piles(const Game& g) {
    for (int c = 0; c < g.numColumns; ++c) {
        const Stack& s = g.tableau[c];
        if (s.numCards == 0) continue;
        int bit = 1 << c;
        int v = s.value;
        value[c] = v;
        occupied |= bit;
        singles |= s.numCards == 1 ? bit : 0;
        // A value past 14 is neither built on nor part of a capture.
        unsigned rank = unsigned(v) <= 14u ? RankSum(v) : 0;
        if (s.isBlock) {
            blocks |= bit;
            blockValues |= rank;
        } else if (rank != 0) {
            buildValues |= rank;
            sums = (sums | sums << v) & kSumsUpTo14;
        }
    }
}

}  // namespace kzq
