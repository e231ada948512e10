#include "movecode.h"

namespace kzq {

Piles::Piles(const Game& g) {
    for (int c = 0; c < g.numColumns; ++c) {  // written always, kept when occupied
        const Stack& s = g.tableau[c];
        column[count] = c;
        value[count] = s.value;
        block[count] = s.isBlock != 0;
        single[count] = s.numCards == 1;
        count += s.numCards != 0;
    }
    smallestFrom[count] = kNoSum;
    for (int k = count - 1; k >= 0; --k) {
        int v = block[k] ? kNoSum : value[k];
        smallestFrom[k] = v < smallestFrom[k + 1] ? v : smallestFrom[k + 1];
    }
}

}  // namespace kzq
