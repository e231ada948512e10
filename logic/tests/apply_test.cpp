// Applying moves and reporting them card by card: where a Put lands, builds
// and blocks with their labels, Takes and sweeps, and the last taker's pickup.
#include "apply.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "play_support.h"

namespace kzq::test {
namespace {

using Strings = std::vector<std::string>;

// The report of a move, up to the score lines.
std::string Report(const std::string& reply) {
    return reply.substr(0, reply.find("<G>"));
}

TEST(FreeColumn, EachPlayerFillsItsSideFromTheMiddleOut) {
    struct Case {
        int player;
        std::vector<int> taken;
        int column;
    };
    const Case cases[] = {
        {0, {}, 4},
        {0, {3, 4}, 2},
        {0, {0, 1, 2, 3, 4}, 5},
        {0, {4, 5}, 3},
        {1, {}, 4},
        {1, {4, 5, 6, 7, 8}, 3},
        {1, {4}, 5},
        {1, {4, 5, 6, 7, 8, 3}, 2},
        {0, {0, 1, 2, 3, 4, 5, 6, 7, 8}, -1},
        {1, {0, 1, 2, 3, 4, 5, 6, 7, 8}, -1},
    };
    const Strings cards = {"2c", "3c", "4c", "5c", "6c", "7c", "8c", "9c", "Tc"};
    Seat();
    for (const Case& c : cases) {
        std::vector<Pile> table(9);
        for (int col : c.taken)
            table[std::size_t(col)] = Pile{{cards[std::size_t(col)]}};
        Arrange(table, {"Kh"}, {"Kd"}, c.player);
        EXPECT_EQ(FindFreeColumn(TheGame()), c.column)
            << "player " << c.player + 1 << ", " << c.taken.size() << " columns taken";
    }
}

TEST(Report, BuildsAndBlocksCarryTheirLabel) {
    Seat();
    // A 3 on a single 5 makes 8 (there is an 8 in hand).
    Arrange({{}, {}, {}, {}, Pile{{"5c"}}}, {"3h", "8h", "", ""}, {"Kc", "", "", ""});
    EXPECT_EQ(Report(Call("<1>15</>")), "<1>1100<A>103h1152<0>523h<T>58<P>2");
    EXPECT_EQ(TheGame().tableau[4].value, 8);

    // A 5 on a single 5 with a 5 kept: Take or Block; the Block keeps the value.
    Arrange({{}, {}, {}, {}, Pile{{"5c"}}}, {"5h", "5d", "", ""}, {"Kc", "", "", ""});
    EXPECT_EQ(Call("<1>15</>"), "<M>14<E>HumanMove failed</>");
    EXPECT_EQ(Report(Call("<Y>3</>")), "<1>1100<A>105h1152<0>525h<T>55<P>2");
    EXPECT_EQ(TheGame().tableau[4].value, 5);
    EXPECT_EQ(TheGame().tableau[4].isBlock, 1);

    // A build of 14 is labelled with the Ace that takes it; player 2 reports as "2".
    Arrange({{}, {}, {}, Pile{{"Kc"}}, Pile{{"8c"}}}, {"Kh", "", "", ""}, {"Ad", "6h", "", ""}, 1);
    EXPECT_EQ(Report(Call("<2>25</>")), "<2>2100<A>206h2152<0>526h<T>5A<P>1");
}

TEST(Report, TakeListsTheTableCardsAsLiftedAndTheHandCardLast) {
    Seat();
    // Column 4 holds the 8d, column 5 the build 5c + 3h, column 6 a King.
    Arrange({{}, {}, {}, Pile{{"8d"}}, Pile{{"5c", "3h"}}, Pile{{"Kc"}}}, {"8h", "", "", ""},
            {"Kd", "", "", ""});
    EXPECT_EQ(Report(Call("<1>145</>")),
              "<0>4100<A>038d4112<3>118d"
              "<0>5200<A>033h5213<3>113h"
              "<0>5100<A>035c5114<3>115c"
              "<1>1100<A>138h1111<3>118h<P>2");
    const Deck& pile = TheGame().players[0].pile;
    ASSERT_EQ(pile.numCards, 4);
    EXPECT_EQ(pile.cards[0], C("8h"));
    EXPECT_EQ(pile.cards[1], C("8d"));
    EXPECT_EQ(pile.cards[2], C("3h"));
    EXPECT_EQ(pile.cards[3], C("5c"));
    EXPECT_EQ(TheGame().players[0].sweeps, 0);  // the King stays
    EXPECT_EQ(TheGame().lastTaker, 0);
}

TEST(Report, ATakenBlockLeavesAnOrdinaryColumn) {
    Seat();
    Arrange({{}, {}, {}, {}, Pile{{"7c", "7d"}, true}, Pile{{"Kc"}}}, {"7h", "", "", ""},
            {"9s", "", "", ""});
    Call("<1>15</>");
    EXPECT_EQ(Report(Call("<2>1</>")), "<2>1100<A>209s1151<0>519s<P>1");
    const Stack& col = TheGame().tableau[4];
    EXPECT_EQ(col.numCards, 1);
    EXPECT_EQ(col.value, 9);
    EXPECT_EQ(col.isBlock, 0);
}

// The scripted round of SweepRoundDeal: Puts, a full table, sweeps on moves
// 10 and 48.
class SweepRound : public ::testing::Test {
  protected:
    void SetUp() override {
        Seat();
        WriteDeals({SweepRoundDeal()});
        Call("<K>1</>");
        replies = PlayScript(kSweepScript);
    }
    Strings replies;
};

TEST_F(SweepRound, PutsFillTheTableFromTheMiddleOut) {
    EXPECT_EQ(Report(replies[0]), "<1>1100<A>10Ac1121<0>21Ac<P>2");
    EXPECT_EQ(Texts(replies[1], '0'), Strings{"718c"});
    EXPECT_EQ(Texts(replies[2], '0'), Strings{"112c"});
    EXPECT_EQ(Texts(replies[3], '0'), Strings{"817c"});
    EXPECT_EQ(Texts(replies[4], '0'), Strings{"913c"});
}

TEST_F(SweepRound, APutOnAFullTableGoesToTheCapturePile) {
    EXPECT_EQ(Report(replies[5]), "<F>11Qd<2>3100<A>24Qd3111<4>11Qd<P>1");
    EXPECT_EQ(Texts(replies[5], 'G')[1], "200000000100");  // one card, no sweep
    EXPECT_EQ(Report(replies[6]), "<F>114c<1>4100<A>134c4111<3>114c<P>2");
}

TEST_F(SweepRound, ATakeThatClearsTheTableIsASweepOnAnyMove) {
    // Move 10: the nine columns in order, then the hand card.
    const std::string& sweep = replies[9];
    EXPECT_EQ(Texts(sweep, '0'),
              (Strings{"1100", "2100", "3100", "4100", "5100", "6100", "7100", "8100", "9100"}));
    EXPECT_EQ(Texts(sweep, '2'), Strings{"1100"});
    EXPECT_EQ(Texts(sweep, '4').back(), "11Ts");
    EXPECT_EQ(Texts(sweep, 'G')[1], "210101011204");

    // Move 48 sweeps too; with the table empty there is no pickup.
    const std::string& last = replies[47];
    EXPECT_EQ(last.find("<D>"), std::string::npos);
    EXPECT_EQ(Texts(last, 'G'), (Strings{"131000071605", "210102063608"}));
    EXPECT_EQ(Texts(last, 'M'), Strings{"490508"});
    EXPECT_EQ(TheGame().lastTaker, 1);
}

TEST_F(SweepRound, PickupGoesToTheLastTakerOfAnEarlierRoundWithoutASweep) {
    // The same cards again, now started by player 2, and nobody takes: the
    // table left after move 48 goes to player 2, who took last in the round
    // before, although player 1 made the 48th move.
    EXPECT_EQ(Texts(Call("<K>1</>"), 'P'), Strings{"2"});
    Strings puts = PlayScript({});
    Strings items = Items(puts.back());
    auto at = [&](const std::string& item) {
        return std::find(items.begin(), items.end(), item) - items.begin();
    };
    EXPECT_EQ(items[0], "<F>117s");
    ASSERT_LT(at("<D>5"), std::ptrdiff_t(items.size()));
    EXPECT_EQ(items[std::size_t(at("<D>5")) - 1], "<P>2");  // the 48th move's report ends first
    // The first card lifted (column 1) comes last.
    EXPECT_EQ(Texts(puts.back(), '0'),
              (Strings{"2100", "3100", "4100", "5100", "6100", "7100", "8100", "9100", "1100"}));
    EXPECT_EQ(Texts(puts.back(), '4').size(), 9u);
    EXPECT_EQ(Texts(puts.back(), '4').back(), "112c");
    EXPECT_EQ(Texts(puts.back(), 'P'), (Strings{"2", "1"}));
    EXPECT_EQ(Texts(puts.back(), 'G'), (Strings{"131000072205", "210100063006"}));
    EXPECT_EQ(Texts(puts.back(), 'M'), Strings{"490506"});
}

}  // namespace
}  // namespace kzq::test
