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

namespace {

int PileWeight(const CardWeights& W, const Stack& s) {
    int sum = 0;
    for (int i = 0; i < s.numCards; ++i)
        sum += W(s.cards[i]);
    return sum;
}

}  // namespace

// Each hand card's weight and that of its twin are read once, and so is the
// weight of every pile that some listed move names (a list of Puts weighs
// none); each move's score is then a few additions, chosen by table rather
// than by branches, since the kinds of a list follow no pattern that a
// processor could guess.
void EvaluateMoves(Game& g, const Piles& piles, const CardWeights& W) {
    const Hand& hand = g.curPlayer->hand;
    int named = 0;
    for (int i = 0; i < g.numMoves; ++i)
        named |= MoveMask(Move(g.moves[i]));
    named &= piles.occupied;
    int pileWeight[kMaxColumns];  // read only where named
    int pileScore[kMaxColumns];   // a taken pile: its cards, and 256 for a build of 14
    for (int rest = named; rest != 0; rest = WithoutLowest(rest)) {
        int c = LowestColumn(rest);
        pileWeight[c] = PileWeight(W, g.tableau[c]);
        pileScore[c] = pileWeight[c] + (piles.value[c] == 14 ? 256 : 0);
    }
    // base[0]: a Take counts the card; base[1]: any other move counts the
    // twin left in hand less the card. Only a rank held twice can have a twin.
    unsigned ranks = 0, twice = 0;
    for (const Card& c : hand.slots) {
        unsigned bit = (1u << c.rank) & ~1u;  // an empty slot counts for nothing
        twice |= ranks & bit;
        ranks |= bit;
    }
    int base[2][kMaxHand];
    for (int i = 0; i < kMaxHand; ++i) {
        Card c = hand.slots[i];
        base[0][i] = W(c);
        int twin = (twice >> c.rank & 1) ? W(hand.SameRankOtherSuit(c)) : 0;
        base[1][i] = twin - base[0][i];
    }
    const int* const pileValues[2] = {pileScore, pileWeight};  // taken, or built on or blocked
    for (int i = 0; i < g.numMoves; ++i) {
        Move m = Move(g.moves[i] & 0xFFFF);
        int notTake = MoveKindOf(m) != kTake;
        int mask = MoveMask(m) & named;  // empty columns count for nothing
        int score = base[notTake][MoveSlot(m)];
        for (int rest = mask; rest != 0; rest = WithoutLowest(rest))
            score += pileValues[notTake][LowestColumn(rest)];
        score += 256 * (!notTake & ((piles.occupied & ~mask) == 0));  // a sweep
        g.moves[i] = m | (std::uint32_t(std::uint16_t(std::int16_t(score))) << 16);
    }
}

int ChooseMove(int count, const std::uint32_t* list) {
    int best = 0;
    int bestScore = std::int16_t(list[0] >> 16);
    for (int i = 1; i < count; ++i) {
        int score = std::int16_t(list[i] >> 16);
        if (score > bestScore) best = i, bestScore = score;
    }
    return best;
}

}  // namespace kzq
