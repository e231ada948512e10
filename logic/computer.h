// The computer player: every legal move is scored once with a fixed table of
// card weights (one game point is worth 256) and the best one is played. It
// looks no further ahead and draws no random numbers; every level plays alike.
#pragma once

#include <cstdint>

#include "cards.h"
#include "game.h"
#include "movecode.h"

namespace kzq {

// The weight of every card by suit and rank (an ace also as rank 14), built
// once at load; it never changes after.
struct CardWeights {
    std::int32_t w[5][16];

    void Build();
    int operator()(Card c) const { return (c.suit < 5 && c.rank < 16) ? w[c.suit][c.rank] : 0; }
};

// Scores every entry of the move list of `g` for the player to move, on the
// table that `piles` were read from.
void EvaluateMoves(Game& g, const Piles& piles, const CardWeights& weights);
// Index of the best entry: the first of the highest scores.
int ChooseMove(int count, const std::uint32_t* list);

}  // namespace kzq
