// Cards, their wire text, the three containers, and the random source behind
// the shuffle.
#include "cards.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "test_support.h"

namespace kzq {
namespace {

using test::CheckFailure;

Card C(int rank, int suit) {
    return Card{std::uint8_t(rank), std::uint8_t(suit)};
}

TEST(CardText, RanksAndSuitsOut) {
    EXPECT_EQ(RankChar(1), 'A');
    EXPECT_EQ(RankChar(14), 'A');
    EXPECT_EQ(RankChar(9), '9');
    EXPECT_EQ(RankChar(10), 'T');
    EXPECT_EQ(RankChar(13), 'K');
    EXPECT_EQ(RankChar(0), '0');
    EXPECT_EQ(RankChar(15), '0');
    EXPECT_EQ(SuitChar(1), 'c');
    EXPECT_EQ(SuitChar(4), 's');
    EXPECT_EQ(SuitChar(5), 'b');
    EXPECT_EQ(SuitChar(0), '0');
    EXPECT_EQ(SuitChar(6), '0');
    EXPECT_EQ(ValueChar(0), '-');
    EXPECT_EQ(ValueChar(1), 'A');
    EXPECT_EQ(ValueChar(14), 'A');
    EXPECT_EQ(ValueChar(10), 'T');
    EXPECT_EQ(SuitLetter(0), '.');
    EXPECT_EQ(SuitLetter(3), 'h');

    char text[2];
    CardText(C(10, 2), text);
    EXPECT_EQ(std::string(text, 2), "Td");
    CardText(C(2, 5), text);
    EXPECT_EQ(std::string(text, 2), "2b");
    CardText(Card{}, text);
    EXPECT_EQ(std::string(text, 2), "00");
}

TEST(CardText, ParsingIgnoresCaseAndDefaultsToBack) {
    EXPECT_EQ(ParseCard('a', 's'), C(1, 4));
    EXPECT_EQ(ParseCard('Q', 'H'), C(12, 3));
    EXPECT_EQ(ParseCard('t', 'd'), C(10, 2));
    EXPECT_EQ(ParseCard('k', 'C'), C(13, 1));
    EXPECT_EQ(ParseSuit('x'), 5);  // anything else is the card back, not "no suit"
    EXPECT_EQ(ParseRank('1'), 0);
    EXPECT_EQ(ParseRank('0'), 0);
    EXPECT_EQ(ParseRank('X'), 0);
    EXPECT_FALSE(ParseCard('1', 'c').Valid());
    EXPECT_EQ(C(7, 3).Code(), 3 * 256 + 7);
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

TEST(StackTest, ValueOfBuildsAndBlocks) {
    Stack build;
    EXPECT_EQ(build.Push(C(3, 1)), 1);
    EXPECT_EQ(build.Push(C(5, 2)), 2);
    EXPECT_EQ(build.value, 8);
    EXPECT_EQ(build.LabelValue(), 8);

    Stack block;
    block.Push(C(7, 1));
    block.isBlock = 1;
    block.Push(C(7, 3));
    EXPECT_EQ(block.value, 7);
    EXPECT_EQ(block.LabelValue(), 7);
    EXPECT_EQ(block.AllCards(), 2);
}

TEST(StackTest, PopKeepsValueUntilTheNextPush) {
    Stack s;
    Card c = C(9, 4);
    EXPECT_FALSE(s.Pop(c));
    EXPECT_EQ(c, C(9, 4));  // untouched on an empty pile

    s.Push(C(2, 1));
    s.Push(C(4, 1));
    ASSERT_TRUE(s.Pop(c));
    EXPECT_EQ(c, C(4, 1));
    EXPECT_EQ(s.value, 6);  // Pop leaves the value alone
    EXPECT_EQ(s.AllCards(), 1);
    s.Pop(c);
    s.Push(C(5, 2));  // a single card sets the value afresh
    EXPECT_EQ(s.value, 5);
}

TEST(StackTest, NinthCardIsFatal) {
    Stack s;
    for (int i = 0; i < kMaxStack; ++i)
        s.Push(C(1, 1));
    EXPECT_DEATH(s.Push(C(1, 2)), CheckFailure("numCards<kMaxStack", 309));
}

TEST(DeckTest, FillOrderAndDealingFromTheTop) {
    Deck d;
    d.value = 3;
    d.Fill();
    EXPECT_EQ(d.AllCards(), 52);
    EXPECT_EQ(d.cards[0], C(1, 1));
    EXPECT_EQ(d.cards[13], C(1, 2));
    EXPECT_EQ(d.cards[51], C(13, 4));
    EXPECT_EQ(d.value, 3);  // Fill leaves value and isBlock as they were
    Card c;
    ASSERT_TRUE(d.Pop(c));
    EXPECT_EQ(c, C(13, 4));
    EXPECT_EQ(d.AllCards(), 51);
    d.Clear();
    EXPECT_EQ(d.AllCards(), 0);
    EXPECT_EQ(d.value, 0);
    EXPECT_FALSE(d.Pop(c));
}

TEST(DeckTest, PushNeverTouchesValueAndStopsAt52) {
    Deck d;
    for (int i = 0; i < kSizeDeck; ++i)
        d.Push(C(i % 13 + 1, 1));
    EXPECT_EQ(d.value, 0);
    EXPECT_DEATH(d.Push(C(1, 1)), CheckFailure("numCards<kSizeDeck", 356));
}

TEST(HandTest, SlotsAndLookups) {
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

TEST(HandTest, BadCardsAndSlotsAreFatal) {
    Hand h;
    EXPECT_DEATH(h.Set(Card{}, 0), CheckFailure("c.Valid()", 468));
    EXPECT_DEATH(h.Set(C(3, 1), 4), CheckFailure("(col>=0)&&(col<kMaxHand)", 469));
    EXPECT_DEATH(h.Set(C(3, 1), -1), CheckFailure("(col>=0)&&(col<kMaxHand)", 469));
    EXPECT_DEATH(h.Get(-1), CheckFailure("(col>=0)&&(col<kMaxHand)", 482));
    EXPECT_DEATH(h.Get(4), CheckFailure("(col>=0)&&(col<kMaxHand)", 482));
}

TEST(RandomTest, FifteenBitGeneratorFromStateOne) {
    ResetRandom();
    // 1 * 22695477 + 1 = 22695478, bits 16..30: 346; then 130 and 10982.
    EXPECT_EQ(Random(32768), 346);
    EXPECT_EQ(Random(32768), 130);
    EXPECT_EQ(Random(100), 10982 % 100);
    ResetRandom();
    EXPECT_EQ(Random(100), 46);
}

TEST(RandomTest, ShuffleRepeatsWithoutReseed) {
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
    // Every position from 2 up is exchanged with a lower one and never touched
    // again, so no card above position 1 stays where Fill put it.
    for (int i = 2; i < kSizeDeck; ++i)
        EXPECT_NE(first[i], full.cards[i]) << i;
}

TEST(RandomTest, ShortDecksAreLeftAlone) {
    ResetRandom();
    Deck d;
    d.Push(C(4, 1));
    d.Push(C(9, 2));
    d.Shuffle();
    EXPECT_EQ(d.cards[0], C(4, 1));
    EXPECT_EQ(d.cards[1], C(9, 2));
    EXPECT_EQ(Random(32768), 346);  // nothing was drawn
}

TEST(RandomTest, ReseedFromTheClockOnceAtTheNextDraw) {
    auto firstDraw = [](std::uint32_t seed) {
        return int(((seed * 22695477u + 1u) >> 16) & 32767u);
    };
    ResetRandom();
    std::uint32_t before = std::uint32_t(std::time(nullptr));
    RequestReseed();
    int r = Random(32768);
    std::uint32_t after = std::uint32_t(std::time(nullptr));
    EXPECT_TRUE(r == firstDraw(before) || r == firstDraw(after)) << r;
    // The flag is spent: a fresh generator continued from that seed gives the same next draw.
    int next = Random(32768);
    std::uint32_t seed = r == firstDraw(before) ? before : after;
    std::uint32_t state = (seed * 22695477u + 1u) * 22695477u + 1u;
    EXPECT_EQ(next, int((state >> 16) & 32767u));
    ResetRandom();
}

}  // namespace
}  // namespace kzq
