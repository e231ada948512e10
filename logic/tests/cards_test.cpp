// Cards, their wire text, the three containers, and the random source behind
// the shuffle.
#include "cards.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "test_support.h"

namespace kzq {
namespace {

using test::CheckFailure;

Card C(int rank, int suit) {
    return Card{std::uint8_t(rank), std::uint8_t(suit)};
}

std::string Text(Card c) {
    char text[2];
    CardText(c, text);
    return std::string(text, 2);
}

TEST(CardText, EveryCardReadsBackAsWritten) {
    for (int suit = kClubs; suit <= kBack; ++suit)
        for (int rank = 1; rank <= 13; ++rank) {
            std::string text = Text(C(rank, suit));
            EXPECT_EQ(ParseCard(text[0], text[1]), C(rank, suit)) << text;
            EXPECT_EQ(ParseRank(ValueChar(rank)), rank);  // a pile's label reads as its value
        }
    EXPECT_EQ(Text(C(10, kDiamonds)), "Td");
    EXPECT_EQ(Text(C(14, kSpades)), "As");  // an ace counted high
    EXPECT_EQ(Text(Card{}), "00");
    EXPECT_EQ(ValueChar(14), 'A');
}

TEST(CardText, ParsingIgnoresCaseAndDefaultsToTheBack) {
    EXPECT_EQ(ParseCard('q', 'H'), C(12, kHearts));
    EXPECT_EQ(ParseCard('t', 'd'), C(10, kDiamonds));
    for (char c : std::string("01XZ <"))
        EXPECT_EQ(ParseRank(c), 0) << c;
    for (char c : std::string("xB0 "))
        EXPECT_EQ(ParseSuit(c), kBack) << c;
}

TEST(CardText, RankMaskCountsTheAceHigh) {
    int all = 0;
    for (int r = 1; r <= 13; ++r)
        all |= RankBit(r);
    EXPECT_EQ(all, 8191);  // thirteen ranks, thirteen bits
    EXPECT_EQ(RankBit(2), 1);
    EXPECT_EQ(RankBit(1), 1 << 12);
}

TEST(Containers, PileValues) {
    Stack s;
    Card c = C(9, 4);
    EXPECT_FALSE(s.Pop(c));
    EXPECT_EQ(c, C(9, 4));  // untouched on an empty pile
    EXPECT_EQ(s.Push(C(3, 1)), 1);
    EXPECT_EQ(s.Push(C(5, 2)), 2);
    EXPECT_EQ(s.value, 8);
    EXPECT_EQ(s.LabelValue(), 8);
    ASSERT_TRUE(s.Pop(c));
    EXPECT_EQ(c, C(5, 2));
    EXPECT_EQ(s.value, 8);  // Pop leaves the value until the next Push
    s.Pop(c);
    s.Push(C(6, 2));  // a single card sets it afresh
    EXPECT_EQ(s.value, 6);

    Stack block;
    block.Push(C(7, 1));
    block.isBlock = 1;
    block.Push(C(7, 3));
    EXPECT_EQ(block.value, 7);
    EXPECT_EQ(block.LabelValue(), 7);
    EXPECT_EQ(block.AllCards(), 2);
}

TEST(Containers, FullDeckOrder) {
    Deck d;
    d.Fill();
    EXPECT_EQ(d.AllCards(), 52);
    EXPECT_EQ(d.cards[0], C(1, 1));
    EXPECT_EQ(d.cards[13], C(1, 2));
    EXPECT_EQ(d.tally, d.Recount());
    Card c;
    ASSERT_TRUE(d.Pop(c));
    EXPECT_EQ(c, C(13, 4));  // dealt from the top
    EXPECT_EQ(d.tally, d.Recount());
    d.Clear();
    EXPECT_FALSE(d.Pop(c));
}

TEST(Containers, HandSlots) {
    Hand h;
    h.Set(C(5, 1), 0);
    h.Set(C(5, 3), 2);
    EXPECT_EQ(h.Get(2), C(5, 3));
    EXPECT_TRUE(h.Occupied(0));
    EXPECT_FALSE(h.Occupied(1));
    EXPECT_TRUE(h.Occupied(6));  // slot numbers wrap modulo 4
    EXPECT_EQ(h.Count(), 2);
    EXPECT_EQ(h.SameRankOtherSuit(C(5, 3)), C(5, 1));
    EXPECT_EQ(h.SameRankOtherSuit(C(5, 1)), C(5, 3));
    EXPECT_EQ(h.SameRankOtherSuit(C(6, 1)), Card{});
}

TEST(Containers, LimitsAreFatal) {
    Stack s;
    for (int i = 0; i < kMaxStack; ++i)
        s.Push(C(1, 1));
    EXPECT_DEATH(s.Push(C(1, 2)), CheckFailure("numCards<kMaxStack", 309));
    Deck d;
    d.Fill();
    EXPECT_DEATH(d.Push(C(1, 1)), CheckFailure("numCards<kSizeDeck", 356));
    Hand h;
    EXPECT_DEATH(h.Set(Card{}, 0), CheckFailure("c.Valid()", 468));
    EXPECT_DEATH(h.Set(C(3, 1), 4), CheckFailure("(col>=0)&&(col<kMaxHand)", 469));
    EXPECT_DEATH(h.Set(C(3, 1), -1), CheckFailure("(col>=0)&&(col<kMaxHand)", 469));
    EXPECT_DEATH(h.Get(-1), CheckFailure("(col>=0)&&(col<kMaxHand)", 482));
    EXPECT_DEATH(h.Get(4), CheckFailure("(col>=0)&&(col<kMaxHand)", 482));
}

// The first numbers from the state at load, taken once from the generator:
// the shuffles, and so every unnumbered deal, depend on them.
constexpr int kFirstDraws[] = {346, 130, 10982, 1090, 11656};

TEST(RandomSource, FirstNumbersFromTheStateAtLoad) {
    RandomSource whole, reduced;
    for (int expected : kFirstDraws) {
        EXPECT_EQ(Random(whole, 32768), expected);
        EXPECT_EQ(Random(reduced, 7), expected % 7);
    }
}

TEST(RandomSource, ShuffleRepeatsAndMovesEveryCardAbovePositionOne) {
    auto shuffled = [] {
        RandomSource random;
        Deck d;
        d.Fill();
        d.Shuffle(random);
        return std::vector<Card>(d.cards, d.cards + kSizeDeck);
    };
    std::vector<Card> first = shuffled();
    EXPECT_EQ(first, shuffled());
    Deck full;
    full.Fill();
    // Each position from 2 up is exchanged with a lower one and never touched again.
    for (int i = 2; i < kSizeDeck; ++i)
        EXPECT_NE(first[i], full.cards[i]) << i;

    RandomSource random;
    Deck two;
    two.Push(C(4, 1));
    two.Push(C(9, 2));
    two.Shuffle(random);
    EXPECT_EQ(two.cards[0], C(4, 1));
    EXPECT_EQ(two.cards[1], C(9, 2));
    EXPECT_EQ(Random(random, 32768), kFirstDraws[0]);  // nothing was drawn
}

TEST(RandomSource, ReseedFromTheClockOnceAtTheNextDraw) {
    // Two draws after the reseed go on as from a state set to the clock's seconds.
    auto twoFrom = [](RandomSource& random) {
        int a = Random(random, 32768);
        return std::vector<int>{a, Random(random, 32768)};
    };
    RandomSource random;
    std::uint32_t before = std::uint32_t(std::time(nullptr));
    RequestReseed(random);
    std::vector<int> drawn = twoFrom(random);
    std::uint32_t after = std::uint32_t(std::time(nullptr));
    RandomSource atBefore{before}, atAfter{after};
    std::vector<int> fromBefore = twoFrom(atBefore), fromAfter = twoFrom(atAfter);
    EXPECT_TRUE(drawn == fromBefore || drawn == fromAfter) << drawn[0] << " " << drawn[1];
}

}  // namespace
}  // namespace kzq
