#include "computer.h"

namespace kzq {

void CardWeights::Build() {
    for (auto& row : w)
        for (auto& x : row)
            x = 0;
    for (int s = 1; s <= 4; ++s) {
        for (int r = 1; r <= 14; ++r) {
            int weight = (r == 1 || r == 14) ? 256 : 14 - r;
            if (s == kSpades) weight += 32 + (r == 2 ? 256 : 0);
            if (s == kDiamonds && r == 10) weight += 512;
            w[s][r] = weight;
        }
    }
}

void MoveScorer::Weigh(int c) {
    const Stack& s = g_.tableau[c];
    int sum = 0;
    for (int i = 0; i < s.numCards; ++i)
        sum += weights_(s.cards[i]);
    pileWeight_[c] = sum;
    weighed_ |= 1 << c;
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
