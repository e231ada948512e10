#include "computer.h"

namespace kzq {

void CardWeights::Build() {
    for (int s = 0; s < 8; ++s)
        for (int r = 0; r < 16; ++r)
            w[s][r] = CardWorth(r, s);
}

int ChooseMove(int count, const std::uint32_t* list) {
    int best = 0;
    int bestScore = ScoreOf(list[0]);
    for (int i = 1; i < count; ++i) {
        int score = ScoreOf(list[i]);
        if (score > bestScore) best = i, bestScore = score;
    }
    return best;
}

}  // namespace kzq
