#include "computer.h"

#include "logic.h"
#include "moves.h"

namespace kzq {

void CardWeights::Build() {
    for (auto& row : w)
        for (auto& x : row) x = 0;
    for (int s = 1; s <= 4; ++s) {
        for (int r = 1; r <= 14; ++r) {
            int weight = (r == 1 || r == 14) ? 256 : 14 - r;
            if (s == kSpades) weight += 32 + (r == 2 ? 256 : 0);
            if (s == kDiamonds && r == 10) weight += 512;
            w[s][r] = weight;
        }
    }
    built = 1;
}

namespace {

int PileWeight(const CardWeights& W, const Stack& s) {
    int sum = 0;
    for (int i = 0; i < s.numCards; ++i) sum += W(s.cards[i]);
    return sum;
}

int Score(const Game& g, const CardWeights& W, Move m) {
    const Hand& hand = g.curPlayer->hand;
    Card card = hand.slots[MoveSlot(m)];
    int w = W(card);
    int kind = MoveKindOf(m);
    if (kind == kPut) return W(hand.SameRankOtherSuit(card)) - w;
    if (kind == kBuild || kind == kBlock)
        return W(hand.SameRankOtherSuit(card)) - w + PileWeight(W, g.tableau[FirstColumn(m)]);
    int score = w;
    bool sweep = true;
    for (int c = 0; c < g.numColumns; ++c) {
        const Stack& s = g.tableau[c];
        if (InMask(m, c)) {
            score += PileWeight(W, s) + (s.value == 14 ? 256 : 0);
        } else if (s.numCards > 0) {
            sweep = false;
        }
    }
    return score + (sweep ? 256 : 0);
}

}  // namespace

void EvaluateMoves() {
    Game& g = TheGame();
    const CardWeights& W = theLogic.cardWeight;
    for (int i = 0; i < g.numMoves; ++i) {
        Move m = Move(g.moves[i] & 0xFFFF);
        std::int16_t score = std::int16_t(Score(g, W, m));
        g.moves[i] = m | (std::uint32_t(std::uint16_t(score)) << 16);
    }
}

int ChooseMove(int count, const std::uint32_t* list) {
    int best = 0;
    for (int i = 1; i < count; ++i)
        if (std::int16_t(list[i] >> 16) > std::int16_t(list[best] >> 16)) best = i;
    return best;
}

}  // namespace kzq
