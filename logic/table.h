// The table as the move generator reads it (Piles): which columns hold a
// pile, a block or a single card, the piles' values, and the sums a capture
// can reach. Kept in Game beside the piles and brought up to date wherever a
// pile changes, rather than read afresh from every column for every move.
#pragma once

#include "cards.h"

namespace kzq {

constexpr int kMaxColumns = 12;

// Columns are kept as bit masks (bit c for column c), so that the loops over
// piles visit the occupied ones alone, in column order, by their set bits.
//
// The piles' values are also kept as rank masks (bit v for a value v), so
// that a hand card asks in a few bit operations whether it builds or takes
// anything at all: most hand cards do neither, and they then list their Put
// alone without walking the piles.
//
// A move changes one column, or empties a few; the summary of a column is
// then written again from its pile (Note), and the masks that span columns
// from the columns' summaries (four or five occupied columns at most times),
// which costs less than reading every column again before each move list.
// Whatever changes a pile of the game calls Note for its column (or Recount
// after laying out a whole table); Recount also gives a fresh summary to
// check the kept one against.
struct Piles {
    int occupied = 0;
    int blocks = 0;
    int singles = 0;               // piles of one card
    int value[kMaxColumns] = {};   // of the occupied columns; 0 for the others
    int height[kMaxColumns] = {};  // cards in each column
    int worth[kMaxColumns] = {};   // what each pile's cards are worth to the computer (CardWorth)
    int cards = 0;             // on the table, which the count of all cards after every move adds
    unsigned buildValues = 0;  // the values of the piles that are not blocks
    unsigned blockValues = 0;  // the values of the blocks
    // Every sum up to 14 of one or more piles that are not blocks (bit 0
    // stands for no pile at all).
    unsigned sums = 1;
    // reach[c], for a column c that holds a pile but not a block: every sum
    // up to 14 of the piles after c that are not blocks (bit 0 as in sums).
    // A capture search grows a set through column c only while the piles
    // after c can still make up what the set lacks.
    unsigned reach[kMaxColumns] = {};

    // Writes again what column c shows after its pile `s` changed. A pile
    // laid on an empty column adds its value to the sums (every sum of the
    // piles with it is one without it, or one without it plus its value); a
    // pile that changes or leaves has the sums read again from the columns.
    void Note(const Stack& s, int c) {
        int bit = 1 << c;
        bool added = !(occupied & bit);
        cards += s.numCards - height[c];
        height[c] = s.numCards;
        occupied &= ~bit, blocks &= ~bit, singles &= ~bit;
        value[c] = 0, reach[c] = 0;
        int w = 0;
        for (int i = 0; i < s.numCards; ++i)
            w += EntryOf(s.cards[i]).worth;
        worth[c] = w;
        if (s.numCards == 0) return Derive();
        occupied |= bit;
        blocks |= s.isBlock ? bit : 0;
        singles |= s.numCards == 1 ? bit : 0;
        int v = value[c] = s.value;
        if (!added || s.isBlock || unsigned(v) > 14u) return Derive();
        buildValues |= RankSum(v);
        sums = WithPile(sums, v);
        // The piles before c may now add this one; c reaches what the next
        // pile after it does, with that pile.
        for (int rest = NotBlocks() & (bit - 1); rest != 0; rest &= rest - 1) {
            int d = __builtin_ctz(unsigned(rest));
            reach[d] = WithPile(reach[d], v);
        }
        int after = NotBlocks() & ~(2 * bit - 1);
        int next = after != 0 ? __builtin_ctz(unsigned(after)) : c;
        reach[c] = after != 0 ? WithPile(reach[next], value[next]) : 1;
    }
    // The same for the columns in `mask`, emptied.
    void NoteEmptied(int mask) {
        occupied &= ~mask, blocks &= ~mask, singles &= ~mask;
        for (int rest = mask; rest != 0; rest &= rest - 1) {
            int c = __builtin_ctz(unsigned(rest));
            cards -= height[c];
            value[c] = 0, height[c] = 0, reach[c] = 0, worth[c] = 0;
        }
        Derive();
    }
    // A fresh summary of the first `columns` piles.
    static Piles Recount(const Stack* tableau, int columns) {
        Piles p;
        for (int c = 0; c < columns; ++c)
            p.Note(tableau[c], c);
        return p;
    }
    bool operator==(const Piles&) const = default;

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
    // The sums in `sums` and each of them with a pile worth v (a pile worth
    // more than 14 is part of no capture).
    static constexpr unsigned WithPile(unsigned sums, int v) {
        return unsigned(v) <= 14u ? (sums | sums << v) & kSumsUpTo14 : sums;
    }

  private:
    // The value masks, sums and reaches, from the occupied columns: the
    // piles that are not blocks last first, then the blocks (few or none).
    void Derive() {
        unsigned builds = 0, sumsNow = 1;
        for (int rest = NotBlocks(); rest != 0;) {
            int c = 31 - __builtin_clz(unsigned(rest));
            rest &= ~(1 << c);
            reach[c] = sumsNow;
            builds |= ValueBit(value[c]);
            sumsNow = WithPile(sumsNow, value[c]);
        }
        unsigned blockRanks = 0;
        for (int rest = occupied & blocks; rest != 0; rest &= rest - 1)
            blockRanks |= ValueBit(value[__builtin_ctz(unsigned(rest))]);
        buildValues = builds, blockValues = blockRanks, sums = sumsNow;
    }
    // A value's bit in the value masks: none past 14, which is neither built
    // on nor part of a capture.
    static unsigned ValueBit(int v) { return unsigned(v) <= 14u ? RankSum(v) : 0; }
};

}  // namespace kzq
