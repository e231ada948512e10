// Cards, their two-character wire text, and the three fixed-capacity card
// containers: a table pile (Stack), a full-size deck (Deck: the stock and each
// Capture Pile, with the tally of its cards that the score lines read) and a
// four-slot Hand. Also the random source and the shuffle, which must stay
// exactly as they are so that deals repeat; the source's state is a record
// the caller owns and hands in.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "check.h"

namespace kzq {

constexpr int kMaxStack = 8;
constexpr int kSizeDeck = 52;
constexpr int kMaxHand = 4;

enum Suit : std::uint8_t {
    kNoSuit = 0,
    kClubs = 1,
    kDiamonds = 2,
    kHearts = 3,
    kSpades = 4,
    kBack = 5
};

struct Card {
    std::uint8_t rank = 0;  // 0 none, 1 ace .. 13 king (a back: the design 1..13)
    std::uint8_t suit = 0;  // 0 none, 1..4 clubs..spades, 5 card back

    bool Valid() const { return rank != 0; }
    bool IsFace() const { return rank >= 1 && rank <= 13 && suit >= 1 && suit <= 4; }
    // Compared as one 16-bit word: a hand compares a card taken out with
    // its other three slots on every move.
    bool operator==(const Card& o) const {
        return std::bit_cast<std::uint16_t>(*this) == std::bit_cast<std::uint16_t>(o);
    }
};

// Wire text.
int ParseRank(char c);  // 0 when not a rank character
int ParseSuit(char c);  // 5 (back) when not a suit letter
Card ParseCard(char rank, char suit);
char ValueChar(int value);  // "-A23456789TJQKA" for 0..14: a pile's label
// One suit's cards as a 13-bit rank mask: rank 2 is bit 0 ... King bit 11, Ace bit 12.
constexpr int RankBit(int rank) {
    return 1 << ((rank == 1 ? 14 : rank) - 2);
}

struct Stack {
    std::int32_t numCards = 0;
    std::int32_t value = 0;
    std::uint8_t isBlock = 0;
    Card cards[kMaxStack] = {};

    int Push(Card c);
    bool Pop(Card& c);
    int AllCards() const { return numCards; }
    int LabelValue() const;
    void Clear();
};

// What the containers and the reply writer read of a card, for every rank
// below 16 and suit below 8, laid out once: its bit in a rank mask by suit
// (DeckTally::ranks), what it adds to a tally's counts (DeckTally::counts),
// its two characters of wire text and its worth to the computer player. A card moving from one deck
// to another, and every card item of a reply, read one entry instead of comparing the card with the
// few that score and looking up its characters.
struct CardEntry {
    std::uint64_t bit;
    std::uint32_t counts;
    char text[2];
    std::int16_t worth;  // CardWorth
};
struct CardTable {
    CardEntry entry[8][16];
};
// A tally's counts side by side, one byte each: aces, spades, the 2 of
// spades, the 10 of diamonds. A pile holds at most 52 cards, so no count
// carries into the next.
constexpr std::uint32_t kAceCount = 1, kSpadeCount = 1u << 8, kTwoOfSpadesCount = 1u << 16,
                        kTenOfDiamondsCount = 1u << 24;
// What a card is worth to the computer player (computer.h), one game point
// being 256: an ace (rank 1, or 14 counted high) 256, any other card 14 less
// its rank; a spade 32 more, the 2 of spades 256 more again, the 10 of
// diamonds 512 more. It is also read from the card's entry, so that the
// table's summary can keep what each pile is worth as the pile changes.
constexpr int CardWorth(int rank, int suit) {
    if (suit < kClubs || suit > kSpades || rank < 1 || rank > 14) return 0;
    int worth = (rank == 1 || rank == 14) ? 256 : 14 - rank;
    if (suit == kSpades) worth += 32 + (rank == 2 ? 256 : 0);
    if (suit == kDiamonds && rank == 10) worth += 512;
    return worth;
}
constexpr CardTable MakeCardTable() {
    CardTable t{};
    for (int s = 0; s < 8; ++s) {
        for (int r = 0; r < 16; ++r) {
            CardEntry& e = t.entry[s][r];
            // Rank "A23456789TJQK" (an ace also for 14) and suit "cdhsb"; '0'
            // for either when absent or no card's (rank 15, suits 6 and 7).
            e.text[0] = "0A23456789TJQKA0"[r];
            e.text[1] = "0cdhsb00"[s];
            e.worth = std::int16_t(CardWorth(r, s));
            if (s < kClubs || s > kSpades || r < 1 || r > 13) continue;
            e.bit = std::uint64_t(RankBit(r)) << (16 * (s - 1));
            e.counts = (r == 1 ? kAceCount : 0) + (s == kSpades ? kSpadeCount : 0) +
                       (r == 2 && s == kSpades ? kTwoOfSpadesCount : 0) +
                       (r == 10 && s == kDiamonds ? kTenOfDiamondsCount : 0);
        }
    }
    return t;
}
inline constexpr CardTable kCardTable = MakeCardTable();
// A card's entry. Every card in play has a rank below 16 and a suit below 8
// (parsed from its text, dealt, or checked when the records are read); the
// masks keep any other byte inside the table at the cost of one instruction
// each, where comparisons cost a branch apiece on every card that moves.
inline const CardEntry& EntryOf(Card c) {
    return kCardTable.entry[c.suit & 7][c.rank & 15];
}

// Writes the two characters of a card to out[0..1] (CardEntry::text).
inline void CardText(Card c, char* out) {
    std::memcpy(out, EntryOf(c).text, 2);
}

// The state of a 15-bit linear congruential generator: 1 at load, so that
// the shuffles repeat from one load to the next unless a reseed is asked for.
struct RandomSource {
    std::uint32_t state = 1;
    bool reseedPending = false;
};
// The next number of `random`, reduced to 0 .. n - 1.
int Random(RandomSource& random, int n);
// Makes the next Random call reseed from the calendar time (request Z).
void RequestReseed(RandomSource& random);

// What a deck holds, in the terms that the score lines and the unseen-cards
// report ask for, so that neither has to look at every card after every move.
// A Deck keeps its own tally in Push, Pop, Fill and Clear; Recount gives a
// fresh one to check it against.
struct DeckTally {
    std::uint64_t ranks = 0;   // every card: suit s's rank mask at bit 16 * (s - 1)
    std::uint32_t counts = 0;  // aces, spades, the 2 and the 10 (kAceCount ...)

    int Aces() const { return int(counts & 0xFF); }
    int Spades() const { return int(counts >> 8 & 0xFF); }
    int TwoOfSpades() const { return int(counts >> 16 & 0xFF); }
    int TenOfDiamonds() const { return int(counts >> 24); }

    void Add(Card c) {
        const CardEntry& e = EntryOf(c);
        counts += e.counts;
        ranks |= e.bit;
    }
    // Cards leave only the stock, which holds every card at most once.
    void Remove(Card c) {
        const CardEntry& e = EntryOf(c);
        counts -= e.counts;
        ranks &= ~e.bit;
    }
    // Suit s's cards as a rank mask (RankBit).
    int RankMask(int suit) const { return int(ranks >> (16 * (suit - 1))) & 0x1FFF; }
    // A card's bit in `ranks`; 0 for anything else (no card, a back).
    static std::uint64_t CardBit(Card c) { return EntryOf(c).bit; }
    // All 52 cards.
    static constexpr DeckTally Full() {
        return DeckTally{0x1FFF1FFF1FFF1FFFull, 4 * kAceCount + 13 * kSpadeCount +
                                                    kTwoOfSpadesCount + kTenOfDiamondsCount};
    }
    bool operator==(const DeckTally&) const = default;
};

// The stock or a Capture Pile: up to 52 cards, bottom first.
struct Deck {
    std::int32_t numCards = 0;
    Card cards[kSizeDeck] = {};
    DeckTally tally;  // of cards[0 .. numCards - 1]

    int Push(Card c);
    bool Pop(Card& c);
    int AllCards() const { return numCards; }
    void Fill();
    void Shuffle(RandomSource& random);
    void Clear() { numCards = 0, tally = DeckTally{}; }
    DeckTally Recount() const;
};

// Push and Pop run for every card that moves, so they are inline.
inline int Stack::Push(Card c) {
    KZQ_CHECK(numCards < kMaxStack, "numCards<kMaxStack", 309);
    cards[numCards++] = c;
    if (numCards == 1)
        value = c.rank;
    else if (!isBlock)
        value += c.rank;
    return numCards;
}

inline bool Stack::Pop(Card& c) {
    if (numCards == 0) return false;
    c = cards[--numCards];
    cards[numCards] = Card{};
    return true;
}

inline int Deck::Push(Card c) {
    KZQ_CHECK(numCards < kSizeDeck, "numCards<kSizeDeck", 356);
    cards[numCards++] = c;
    tally.Add(c);
    return numCards;
}

inline bool Deck::Pop(Card& c) {
    if (numCards == 0) return false;
    c = cards[--numCards];
    cards[numCards] = Card{};
    tally.Remove(c);
    return true;
}

// Four slots, the cards they hold as one mask (DeckTally::ranks), which the
// unseen-cards report reads after every move for a computer's hand, and which
// slots hold a card, which the move generator walks and the count of all
// cards after every move counts. The slots are read freely and changed only
// through Set, Take and Clear, which keep both: a card dealt into an empty
// slot adds its bits, a card taken out removes its slot's bit, and its card's
// bit unless another slot holds the same card (a hand laid out by request J
// may hold a card twice), and a card laid over another has the card mask read
// again from the slots.
struct Hand {
    Card slots[kMaxHand] = {};
    std::uint64_t cardBits = 0;
    int occupied = 0;  // bit i for each slot i that holds a card

    void Set(Card c, int col) {  // inline: every deal sets eight
        KZQ_CHECK(c.Valid(), "c.Valid()", 468);
        KZQ_CHECK((col >= 0) && (col < kMaxHand), "(col>=0)&&(col<kMaxHand)", 469);
        bool wasEmpty = slots[col].rank == 0;
        slots[col] = c;
        if (wasEmpty)
            cardBits |= DeckTally::CardBit(c);
        else
            cardBits = Recount();
        occupied = c.rank != 0 ? occupied | 1 << col : occupied & ~(1 << col);
    }
    // Empties slot `slot` (0 to 3) and returns what it held.
    Card Take(int slot) {
        Card c = slots[slot];
        slots[slot] = Card{};
        bool held = (slots[0] == c) | (slots[1] == c) | (slots[2] == c) | (slots[3] == c);
        cardBits &= held ? ~std::uint64_t(0) : ~DeckTally::CardBit(c);
        occupied &= ~(1 << slot);
        return c;
    }
    // The mask read afresh from the slots.
    std::uint64_t Recount() const {
        return DeckTally::CardBit(slots[0]) | DeckTally::CardBit(slots[1]) |
               DeckTally::CardBit(slots[2]) | DeckTally::CardBit(slots[3]);
    }
    // The occupied slots read afresh.
    int RecountOccupied() const {
        return (slots[0].rank != 0) | (slots[1].rank != 0) << 1 | (slots[2].rank != 0) << 2 |
               (slots[3].rank != 0) << 3;
    }
    Card Get(int col) const;
    bool Occupied(int slot) const { return slots[slot & 3].rank != 0; }
    Card SameRankOtherSuit(Card c) const {
        for (const Card& s : slots)
            if (s.rank == c.rank && s.suit != c.suit) return s;
        return Card{};
    }
    // The cards held: the bits of `occupied`, read from a table of the bit
    // counts of 0 to 15 four bits apiece (the processor's own bit count is
    // not in the instruction set the library is built for).
    int Count() const { return int(0x4332322132212110ull >> (4 * (occupied & 15)) & 15); }
    void Clear();
};

}  // namespace kzq
