// The deal, the score lines, the end of a round and of a game.
#include <gtest/gtest.h>

#include "play_support.h"

namespace kzq::test {
namespace {

using Strings = std::vector<std::string>;

// Every hand card and table card of the first deal is a club.
std::vector<std::uint8_t> ClubsDeal() {
    return DealRecord({{"Ac", "2c", "3c", "4c", "5c", "6c", "7c", "8c"}}, {"9c", "Tc", "Jc", "Qc"});
}

TEST(Deal, HandsAlternateThenTheTableFromTheMiddleOut) {
    Seat();
    WriteDeals({ClubsDeal()});
    EXPECT_EQ(Call("<K>1</>"),
              "<1>11Ac<2>115c<1>212c<2>216c<1>313c<2>317c<1>414c<2>418c"
              "<0>519c<0>41Tc<0>61Jc<0>31Qc<P>1</>");
    EXPECT_EQ(Call("<Q></>"), "<Q>MoveNr=00</>");

    // Six columns: the table cards go to columns 4, 3, 5 and 2.
    Call("<B>6</>");
    EXPECT_EQ(Texts(Call("<K>1</>"), '0'), (Strings{"419c", "31Tc", "51Jc", "21Qc"}));
}

TEST(Deal, ARecordWithARepeatedCardIsNotDealt) {
    // Every card of the clubs deal's table made a Queen of clubs: the stock
    // is shuffled instead, and the round plays out.
    std::vector<std::uint8_t> record = ClubsDeal();
    for (int i = 0; i < 4; ++i)
        record[51 - 8 - i] = DealByte("Qc");
    Seat(3, 3);
    WriteDeals({record});
    EXPECT_NE(Texts(Call("<K>1</>"), '1')[0], "11Ac");
    EXPECT_EQ(Texts(FinishRound(), 'M').size(), 1u);
}

TEST(Deal, AComputerPlayedAgainstIsDealtFaceDown) {
    Seat(0, 3);
    WriteDeals({ClubsDeal()});
    Call("<I>06C</>");  // a back design: whatever suit letter comes with it, the suit is the back
    std::string reply = Call("<K>1</>");
    EXPECT_EQ(Texts(reply, '1'), (Strings{"11Ac", "212c", "313c", "414c"}));
    EXPECT_EQ(Texts(reply, '2'), (Strings{"116b", "216b", "316b", "416b"}));
    // The unseen clubs are the King in the stock and the computer's four.
    EXPECT_EQ(Call("<U></>"), "<U>c2168<U>d8191<U>h8191<U>s8191</>");

    for (auto levels : {"<I>12Ann<I>25Bob</>", "<I>10Ann<I>20Bob</>"}) {
        Call(levels);
        reply = Call("<K>1</>");
        EXPECT_EQ(Texts(reply, '2'), (Strings{"115c", "216c", "317c", "418c"})) << levels;
    }
    // Two computers: both hands are unseen; two humans: neither.
    Call("<I>12Ann<I>25Bob<K>1</>");
    EXPECT_EQ(Texts(Call("<U></>"), 'U')[0], "c6271");
    Call("<I>10Ann<I>20Bob<K>1</>");
    EXPECT_EQ(Texts(Call("<U></>"), 'U')[0], "c2048");
}

TEST(Deal, StarterAlternatesAcrossRoundsAndGames) {
    Seat(3, 3);
    EXPECT_EQ(Texts(Call("<N></>"), 'P'), Strings{"1"});
    FinishRound();

    // A further round: player 1 is still dealt first although player 2 starts.
    auto items = Items(Call("<R></>"));
    ASSERT_EQ(items.size(), 21u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(items[i][1], i % 2 ? '2' : '1') << items[i];
    for (int i = 8; i < 12; ++i)
        EXPECT_EQ(items[i][1], '0') << items[i];
    Strings tail(items.begin() + 12, items.end());
    for (auto& item : tail)
        if (item[1] == 'U') item.resize(4);  // the suit letter; the masks are the stock's
    EXPECT_EQ(tail, (Strings{"<P>2", "<P>2", "<G>100000000000", "<G>200000000000", "<U>c", "<U>d",
                             "<U>h", "<U>s", "</>"}));
    FinishRound();
    EXPECT_EQ(Texts(Call("<R></>"), 'P'), (Strings{"1", "1"}));
    FinishRound();
    // A new game does not reset the alternation.
    EXPECT_EQ(Texts(Call("<N></>"), 'P'), Strings{"2"});
}

// Cards that earn nothing: clubs and hearts 2 to King, diamonds 3 to 9.
Strings PlainCards(int n) {
    Strings out;
    for (char suit : {'c', 'h'})
        for (char rank : std::string("23456789TJQK"))
            out.push_back({rank, suit});
    for (char rank : std::string("3456789"))
        out.push_back({rank, 'd'});
    out.resize(std::size_t(n));
    return out;
}

TEST(Score, LineCountsEveryTermOfTheRound) {
    struct Case {
        Strings pile;
        int sweeps;
        const char* line;
    };
    const Case cases[] = {
        {PlainCards(26), 0, "100000002600"},  // 26 cards earn nothing
        {PlainCards(27), 0, "100000002703"},  // 27 earn 3
        {{"3s", "4s", "5s", "6s", "7s", "8s"}, 0, "100000060600"},
        {{"3s", "4s", "5s", "6s", "7s", "8s", "9s"}, 0, "100000070701"},
        {{"As", "Ac", "2s", "Td"}, 0, "121100020405"},
        {{"Ah", "2c", "Tc"}, 2, "110002000303"},
        // Counts wider than their field (the debugging request can bring ten aces).
        {Strings(10, "Ac"), 0, "1100000001010"},
    };
    Seat();
    for (const Case& c : cases) {
        Player& p = TheGame().players[0];
        p.pile.Clear();
        for (const auto& card : c.pile)
            p.pile.Push(C(card));
        p.sweeps = c.sweeps;
        EXPECT_EQ(Call("<G></>"), "<G>" + std::string(c.line) + "</>");
    }
}

// The sweep round, played as scripted, earns 5 and 8 points; the totals
// brought into it decide the game.
std::string PlaySweepRoundFrom(int total1, int total2) {
    WriteDeals({SweepRoundDeal()});
    Call("<K>1</>");
    TheGame().players[0].points = total1;
    TheGame().players[1].points = total2;
    return PlayScript(kSweepScript).back();
}

// Player `name`'s Hall of Fame row, without its row number and level.
std::string RecordOf(const std::string& name) {
    for (int row = 1; row <= 15; ++row) {
        char digits[3] = {char('0' + row / 10), char('0' + row % 10), 0};
        std::string text = Texts(Call(std::string("<H>") + digits + "</>"), 'H').at(0);
        if (text.find("(" + name + ")") != std::string::npos) return text.substr(3);
    }
    return "no record of " + name;
}

TEST(EndOfGame, EqualTotalsNeverWin) {
    Seat();
    EXPECT_EQ(Texts(PlaySweepRoundFrom(0, 0), 'M'), Strings{"490508"});
    Seat();
    EXPECT_EQ(Texts(PlaySweepRoundFrom(16, 13), 'M'), Strings{"492121"});
    EXPECT_EQ(RecordOf("Ann"), "(Ann) 00000 00000 00000");
    // The game goes on with the totals kept.
    EXPECT_EQ(Texts(Call("<R></>"), 'P'), (Strings{"2", "2"}));
    EXPECT_EQ(TheGame().players[0].points, 21);
    EXPECT_EQ(TheGame().players[1].points, 21);
}

TEST(EndOfGame, TotalsOfThreeDigitsAreWrittenWhole) {
    Seat();  // rounds played on after a win can carry a total past 99
    EXPECT_EQ(Texts(PlaySweepRoundFrom(95, 0), 'M'), Strings{"5010008"});
}

TEST(EndOfGame, HigherTotalPast21WinsAndIsRecorded) {
    Seat();
    EXPECT_EQ(Texts(PlaySweepRoundFrom(17, 17), 'M'), Strings{"512225"});
    // The winner gains its total, the loser the difference.
    EXPECT_EQ(RecordOf("Bob"), "(Bob) 00025 00001 00001");
    EXPECT_EQ(RecordOf("Ann"), "(Ann) -0003 00001 00000");
    // Capture piles are emptied; a further round is still dealt.
    EXPECT_EQ(TheGame().players[0].pile.numCards + TheGame().players[1].pile.numCards, 0);
    EXPECT_EQ(Texts(Call("<R></>"), 'P'), (Strings{"2", "2"}));
}

}  // namespace
}  // namespace kzq::test
