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

// The table as one generation of moves reads it, once per call, shared by
// the generator and the scoring. Columns are kept as bit masks (bit c for
// column c), so that the loops over piles visit the occupied ones alone, in
// column order, by their set bits.
//
// The piles' values are also kept as rank masks (bit v for a value v), so
// that a hand card asks in a few bit operations whether it builds or takes
// anything at all: most hand cards do neither, and they then list their Put
// alone without walking the piles.
struct Piles {
    int occupied = 0;
    int blocks = 0;
    int singles = 0;           // piles of one card
    int value[kMaxColumns];    // of the occupied columns
    unsigned buildValues = 0;  // the values of the piles that are not blocks
    unsigned blockValues = 0;  // the values of the blocks
    // Every sum up to 14 of one or more piles that are not blocks (bit 0
    // stands for no pile at all).
    unsigned sums = 1;

    explicit Piles(const Game& g);

    int NotBlocks() const { return occupied & ~blocks; }
    // Whether a card of rank r takes anything: a block worth r, or piles
    // adding up to r (an ace also to 14).
    bool Takes(int r) const {
        if (unsigned(r) > 13u) return true;  // no card of the deck: let the search answer
        unsigned targets = r == 1 ? RankSum(1) | RankSum(14) : RankSum(r);
        return ((blockValues & RankSum(r)) | (sums & targets)) != 0;
    }
    // Whether a pile that is not a block, with a card of rank r on it, may
    // make a value that a card in `held` takes (held: bit t for each rank t
    // held, bit 14 for an ace). Yes for an ace on a king with no second ace:
    // the build loop then lists nothing.
    bool MayBuild(int r, unsigned held) const {
        return unsigned(r) > 13u || ((buildValues << r) & held) != 0;
    }

    static constexpr unsigned RankSum(int v) { return 1u << v; }
    static constexpr unsigned kSumsUpTo14 = 0x7FFF;
};

// Inline, since every generation reads the table once and goes on to use
// what it found. Built in locals and stored at the end: the compiler cannot
// tell that storing into the record leaves the game unchanged, and would read
// the column count again on every pass.
inline Piles::Piles(const Game& g) {
    int occupiedNow = 0, blocksNow = 0, singlesNow = 0;
    unsigned builds = 0, blockRanks = 0, sumsNow = 1;
    const int columns = g.numColumns;
    for (int c = 0; c < columns; ++c) {
        const Stack& s = g.tableau[c];
        if (s.numCards == 0) continue;
        int bit = 1 << c;
        int v = s.value;
        value[c] = v;
        occupiedNow |= bit;
        singlesNow |= s.numCards == 1 ? bit : 0;
        // A value past 14 is neither built on nor part of a capture.
        unsigned rank = unsigned(v) <= 14u ? RankSum(v) : 0;
        if (s.isBlock) {
            blocksNow |= bit;
            blockRanks |= rank;
        } else if (rank != 0) {
            builds |= rank;
            sumsNow = (sumsNow | sumsNow << v) & kSumsUpTo14;
        }
    }
    occupied = occupiedNow, blocks = blocksNow, singles = singlesNow;
    buildValues = builds, blockValues = blockRanks, sums = sumsNow;
}

// The lowest column of a non-empty column mask, and the mask without it.
constexpr int LowestColumn(int mask) {
    return __builtin_ctz(unsigned(mask));
}
constexpr int WithoutLowest(int mask) {
    return mask & (mask - 1);
}

}  // namespace kzq
