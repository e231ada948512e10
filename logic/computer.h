// The computer player: every legal move is scored once with a fixed table of
// card weights (one game point is worth 256) and the best one is played. It
// looks no further ahead and draws no random numbers; every level plays alike.
#pragma once

#include <cstdint>

#include "cards.h"
#include "game.h"
#include "movecode.h"

namespace kzq {

// The weight of every card by suit and rank (an ace also as rank 14): its
// CardWorth (cards.h), built once at load; it never changes after. Every
// suit below 8 has its row (0 for anything but the four suits), so that a
// card is looked up by masking its rank and suit (as EntryOf) rather than
// comparing them: every move scored reads a few.
struct CardWeights {
    std::int32_t w[8][16];

    void Build();
    int operator()(Card c) const { return w[c.suit & 7][c.rank & 15]; }
};

// The scores of the moves of the player to move, asked for by the move
// generator as it lists each move, so that a list is scored in the same pass
// that builds it. What every move of a hand card shares (the card's weight,
// and that of a twin left in hand) is read once, as the generator reaches the
// card; what a pile is worth is kept in the table's summary (Piles::worth).
class MoveScorer {
  public:
    MoveScorer(const Piles& piles, const CardWeights& weights) : piles_(piles), weights_(weights) {}

    // Reads the hand card `c` in `slot` before any move of it is scored;
    // `twin` when another card of its rank is in `hand`. Inline: the
    // generator holds every card of the hand.
    void Hold(int slot, Card c, const Hand& hand, bool twin) {
        take_[slot] = weights_(c);
        keep_[slot] = (twin ? weights_(hand.SameRankOtherSuit(c)) : 0) - take_[slot];
    }

    // A Put: the twin left in hand less the card.
    int Put(int slot) const { return keep_[slot]; }
    // A Build or a Block on column c: as a Put, and the pile's cards.
    int OnPile(int slot, int c) const { return keep_[slot] + piles_.worth[c]; }
    // What taking the pile in column c is worth: its cards, and 256 for a
    // build of 14.
    int TakeWorth(int c) const { return piles_.worth[c] + (piles_.value[c] == 14 ? 256 : 0); }
    // A Take of the piles in `mask`, worth `worth` (their TakeWorth, summed
    // by the generator as it finds the set): the card, the piles, and 256
    // for a sweep.
    int Take(int slot, int mask, int worth) const {
        return take_[slot] + worth + ((piles_.occupied & ~mask) == 0 ? 256 : 0);
    }
    // The union of two Takes that share no pile, scored `a` and `b`, of the
    // piles in `mask`: both parts with the card counted once. Neither part
    // was a sweep, since the other took a pile that it left.
    int Union(int slot, int mask, int a, int b) const {
        return a + b - take_[slot] + ((piles_.occupied & ~mask) == 0 ? 256 : 0);
    }

  private:
    const Piles& piles_;
    const CardWeights& weights_;
    int take_[kMaxHand];  // a Take counts the card (read by Hold)
    int keep_[kMaxHand];  // any other move: the twin left in hand less the card
};

// A move's list entry: its code in the low half, its score (signed, cut to
// 16 bits) in the high half.
constexpr std::uint32_t ScoredMove(Move m, int score) {
    return m | (std::uint32_t(std::uint16_t(std::int16_t(score))) << 16);
}

// An entry's score.
constexpr int ScoreOf(std::uint32_t entry) {
    return std::int16_t(entry >> 16);
}

// Index of the best entry: the first of the highest scores.
int ChooseMove(int count, const std::uint32_t* list);

}  // namespace kzq
