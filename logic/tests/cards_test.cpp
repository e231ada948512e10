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

template <typename F>
std::string Table(F f, int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i)
        s += f(i);
    return s;
}

TEST(CardText, CharactersOut) {
    EXPECT_EQ(Table(ValueChar, 0, 14), "-A23456789TJQKA");
    char text[2];
    CardText(C(10, 2), text);
    EXPECT_EQ(std::string(text, 2), "Td");
    CardText(C(2, 5), text);
    EXPECT_EQ(std::string(text, 2), "2b");
    CardText(Card{}, text);
    EXPECT_EQ(std::string(text, 2), "00");
}

TEST(CardText, ParsingIgnoresCaseAndDefaultsToTheBack) {
    const std::string ranks = "A23456789TJQK", lower = "a23456789tjqk";
    for (int r = 1; r <= 13; ++r) {
        EXPECT_EQ(ParseRank(ranks[r - 1]), r);
        EXPECT_EQ(ParseRank(lower[r - 1]), r);
    }
    for (char c : std::string("01XZ <"))
        EXPECT_EQ(ParseRank(c), 0) << c;
    EXPECT_EQ(ParseCard('q', 'H'), C(12, 3));
    EXPECT_EQ(ParseCard('K', 'c'), C(13, 1));
    EXPECT_EQ(ParseCard('2', 'S'), C(2, 4));
    EXPECT_EQ(ParseCard('t', 'd'), C(10, 2));
    for (char c : std::string("xB0 "))
        EXPECT_EQ(ParseSuit(c), kBack) << c;
}

TEST(CardText, RankMaskCountsTheAceHigh) {
    EXPECT_EQ(RankBit(2), 1);
    EXPECT_EQ(RankBit(13), 1 << 11);
    EXPECT_EQ(RankBit(1), 1 << 12);
    int all = 0;
    for (int r = 1; r <= 13; ++r)
        all |= RankBit(r);
    EXPECT_EQ(all, 8191);
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
    Card c;
    ASSERT_TRUE(d.Pop(c));
    EXPECT_EQ(c, C(13, 4));  // dealt from the top
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

std::uint32_t Step(std::uint32_t state) {
    return state * 22695477u + 1u;
}
int Draw(std::uint32_t state) {
    return int((state >> 16) & 32767u);
}

TEST(RandomSource, FifteenBitGeneratorFromStateOne) {
    ResetRandom();
    EXPECT_EQ(Random(32768), 346);  // 22695478 >> 16
    EXPECT_EQ(Random(32768), 130);
    EXPECT_EQ(Random(100), 10982 % 100);
}

TEST(RandomSource, ShuffleRepeatsAndMovesEveryCardAbovePositionOne) {
    auto shuffled = [] {
        ResetRandom();
        Deck d;
        d.Fill();
        d.Shuffle();
        return std::vector<Card>(d.cards, d.cards + kSizeDeck);
    };
    std::vector<Card> first = shuffled();
    EXPECT_EQ(first, shuffled());
    Deck full;
    full.Fill();
    // Each position from 2 up is exchanged with a lower one and never touched again.
    for (int i = 2; i < kSizeDeck; ++i)
        EXPECT_NE(first[i], full.cards[i]) << i;

    ResetRandom();
    Deck two;
    two.Push(C(4, 1));
    two.Push(C(9, 2));
    two.Shuffle();
    EXPECT_EQ(two.cards[0], C(4, 1));
    EXPECT_EQ(two.cards[1], C(9, 2));
    EXPECT_EQ(Random(32768), 346);  // nothing was drawn
}

TEST(RandomSource, ReseedFromTheClockOnceAtTheNextDraw) {
    ResetRandom();
    std::uint32_t before = std::uint32_t(std::time(nullptr));
    RequestReseed();
    int r = Random(32768);
    std::uint32_t after = std::uint32_t(std::time(nullptr));
    ASSERT_TRUE(r == Draw(Step(before)) || r == Draw(Step(after))) << r;
    std::uint32_t seed = r == Draw(Step(before)) ? before : after;
    EXPECT_EQ(Random(32768), Draw(Step(Step(seed))));  // the flag is spent
    ResetRandom();
}

}  // namespace
}  // namespace kzq
