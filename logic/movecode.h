// A move's 16-bit code: what the move generator, the computer's scoring and
// the carrying out of a move share, with the walk over a column mask.
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

// The lowest column of a non-empty column mask, and the mask without it.
constexpr int LowestColumn(int mask) {
    return __builtin_ctz(unsigned(mask));
}
constexpr int WithoutLowest(int mask) {
    return mask & (mask - 1);
}

}  // namespace kzq
