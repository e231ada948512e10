// A move's 16-bit code, and the table as one generation of moves reads it
// (Piles): what the move generator, the computer's scoring and the carrying
// out of a move share.
#pragma once

#include <cstdint>

#include "game.h"

namespace kzq {

enum MoveKind { kBuild = 0, kTake = 1, kBlock = 2, kPut = 3 };

// bits 0-1 hand slot, bits 2-3 kind, bits 4-15 column mask
using Move = std::uint16_t;

constexpr Move MakeMove(int mask, int kind, int slot) {
    return Move(mask * 16 + kind * 4 + slot);
}
constexpr int MoveSlot(Move m) {
    return m & 3;
}
constexpr int MoveKindOf(Move m) {
    return (m >> 2) & 3;
}
constexpr int MoveMask(Move m) {
    return m >> 4;
}
constexpr bool InMask(Move m, int column) {
    return (MoveMask(m) >> column) & 1;
}
constexpr int FirstColumn(Move m) {
    return MoveMask(m) != 0 ? __builtin_ctz(unsigned(MoveMask(m))) : -1;
}
constexpr int ColumnCount(Move m) {
    return __builtin_popcount(unsigned(MoveMask(m)));
}

// The end-of-round pickup: a Take with slot 0 and all twelve column bits.
constexpr Move kPickupMove = 65524;
// Capture entries stop at this many list entries; Puts, Builds and Blocks never do.
constexpr int kTakeLimit = 511;

// The occupied columns of the table, in column order, read once per
// generation and shared by the generator and the scoring: the search, the
// build and block loops and the pile weights visit only these.
struct Piles {
    int count = 0;
    int column[kMaxColumns];
    int value[kMaxColumns];
    bool block[kMaxColumns];
    bool single[kMaxColumns];
    // The smallest value of a pile that is not a block, from each index on
    // (a value no target reaches where there is none): a search for a sum
    // below it finds nothing.
    int smallestFrom[kMaxColumns + 1];

    explicit Piles(const Game& g);

    static constexpr int kNoSum = 99;
};

}  // namespace kzq
