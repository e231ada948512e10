#include "cards.h"

#include <ctime>

#include "check.h"

namespace kzq {

int ParseRank(char c) {
    if (c >= '2' && c <= '9') return c - '0';
    switch (c) {
        case 'A':
        case 'a':
            return 1;
        case 'T':
        case 't':
            return 10;
        case 'J':
        case 'j':
            return 11;
        case 'Q':
        case 'q':
            return 12;
        case 'K':
        case 'k':
            return 13;
        default:
            return 0;
    }
}

int ParseSuit(char c) {
    switch (c) {
        case 'C':
        case 'c':
            return kClubs;
        case 'D':
        case 'd':
            return kDiamonds;
        case 'H':
        case 'h':
            return kHearts;
        case 'S':
        case 's':
            return kSpades;
        default:
            return kBack;
    }
}

Card ParseCard(char rank, char suit) {
    return Card{std::uint8_t(ParseRank(rank)), std::uint8_t(ParseSuit(suit))};
}

char ValueChar(int value) {
    static const char kValues[] = "-A23456789TJQKA";
    return (value >= 0 && value <= 14) ? kValues[value] : '?';
}

// ---- Stack ---------------------------------------------------------------

int Stack::LabelValue() const {
    if (numCards == 0) return 0;
    if (isBlock) return cards[0].rank;
    int sum = 0;
    for (int i = 0; i < numCards; ++i)
        sum += cards[i].rank;
    return sum;
}

void Stack::Clear() {
    *this = Stack{};
}

// ---- Deck ----------------------------------------------------------------

void Deck::Fill() {
    numCards = kSizeDeck;
    for (int i = 0; i < kSizeDeck; ++i)
        cards[i] = Card{std::uint8_t(i % 13 + 1), std::uint8_t(i / 13 + 1)};
    tally = DeckTally::Full();
}

DeckTally Deck::Recount() const {
    DeckTally t;
    for (int i = 0; i < numCards; ++i)
        t.Add(cards[i]);
    return t;
}

// Fisher-Yates as the game has always dealt it: j is drawn from 0..i-1, and the
// loop stops before the last exchange of positions 0 and 1.
void Deck::Shuffle(RandomSource& random) {
    for (int i = numCards - 1; i > 1; --i) {
        int j = Random(random, i);
        Card t = cards[i];
        cards[i] = cards[j];
        cards[j] = t;
    }
}

// ---- Hand ----------------------------------------------------------------

Card Hand::Get(int col) const {
    KZQ_CHECK((col >= 0) && (col < kMaxHand), "(col>=0)&&(col<kMaxHand)", 482);
    return slots[col];
}

void Hand::Clear() {
    for (Card& s : slots)
        s = Card{};
    cardBits = 0;
    occupied = 0;
}

// ---- Random --------------------------------------------------------------

int Random(RandomSource& random, int n) {
    if (random.reseedPending) {
        random.reseedPending = false;
        random.state = std::uint32_t(std::time(nullptr));
    }
    random.state = random.state * 22695477u + 1u;
    int r = int((random.state >> 16) & 32767u);
    // r % n without a division for the n a shuffle asks for (one per card of
    // every deal, each tens of cycles): r has 15 bits, so for n up to 64 its
    // product with 2^32 / n rounded up, shifted back, is exactly r / n.
    struct Reciprocals {
        std::uint64_t of[65];
    };
    static constexpr Reciprocals kReciprocal = [] {
        Reciprocals t{};
        for (int d = 1; d <= 64; ++d)
            t.of[d] = (std::uint64_t(1) << 32) / unsigned(d) + 1;
        return t;
    }();
    if (n < 1 || n > 64) return r % n;
    int q = int(std::uint64_t(r) * kReciprocal.of[n] >> 32);
    return r - q * n;
}

void RequestReseed(RandomSource& random) {
    random.reseedPending = true;
}

}  // namespace kzq
