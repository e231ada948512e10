// The computer player: card weights, move scores, the choice among them, and
// the hint and computer-move requests that use it.
#include "computer.h"

#include <gtest/gtest.h>

#include "play_support.h"

namespace kzq::test {
namespace {

// The score of the first listed move that `Describe` names `move`.
int ScoreOf(const std::string& move) {
    std::vector<std::string> list = ListedMoves();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == move) return Scores()[i];
    ADD_FAILURE() << move << " is not listed";
    return 0;
}

TEST(Weights, OneGamePointWeighs256) {
    Seat();
    const CardWeights& W = theLogic.cardWeight;
    const std::pair<const char*, int> cases[] = {
        {"Ac", 256}, {"Ah", 256}, {"As", 288}, {"2s", 300}, {"Td", 516},
        {"Th", 4},   {"2c", 12},  {"Kc", 1},   {"Ks", 33},  {"7s", 39},
    };
    for (auto [card, weight] : cases)
        EXPECT_EQ(W(C(card)), weight) << card;
    EXPECT_EQ(W(Card{}), 0);
    EXPECT_EQ(W(Card{7, kBack}), 0);
}

TEST(Evaluate, TheFourteenMoveExample) {
    Seat();
    Arrange({Pile{{"2s"}}, Pile{{"5c", "7c"}}, Pile{{"Jh"}}}, {"2c", "2h", "Qh", "Ah"},
            {"Kd", "Kc", "Kh", "Ks"});
    GenerateMoves(TheGame(), theLogic.cardWeight);
    EXPECT_EQ(Scores(),
              (std::vector<int>{0, 16, 300, 312, 0, 16, 300, 312, -2, 298, 18, -256, -253, 572}));
    // The hint names the Ace and both columns, whatever the levels.
    EXPECT_EQ(Call("<?></>"), "<?>1412</>");
    Call("<I>11Ann<I>29Bob</>");
    EXPECT_EQ(Call("<?></>"), "<?>1412</>");
    EXPECT_EQ(Call("<Q></>"), "<Q>MoveNr=00</>");

    // The computer plays it, here for player 1: the card face up, a pause,
    // then the Take.
    std::string reply = Call("<C></>");
    EXPECT_EQ(reply.substr(0, reply.find("<G>")),
              "<1>41Ah<D>5"
              "<0>1100<A>032s1112<3>112s<0>2200<A>037c2213<3>117c<0>2100<A>035c2114<3>115c"
              "<1>4100<A>13Ah4111<3>11Ah<P>2");
    EXPECT_EQ(Texts(reply, 'G')[0], "111000010402");
}

TEST(Evaluate, TakesCountEveryCardAndEach14AndSweepAdds256) {
    Seat();
    Arrange({Pile{{"Td"}}, Pile{{"Kh"}}}, {"Tc"}, {"2c"});
    EXPECT_EQ(ScoreOf("Take0@0"), 4 + 516);
    // A sweep, although most columns are empty.
    Arrange({{}, {}, {}, {}, Pile{{"Td"}}}, {"Tc"}, {"2c"});
    EXPECT_EQ(ScoreOf("Take0@4"), 4 + 516 + 256);
    // A build of 14 taken by an Ace.
    Arrange({Pile{{"9c", "5c"}}, Pile{{"Kh"}}}, {"Ah"}, {"2c"});
    EXPECT_EQ(ScoreOf("Take0@0"), 256 + 5 + 9 + 256);
}

TEST(Evaluate, PutsBuildsAndBlocksWeighTheCardAgainstItsTwin) {
    Seat();
    Arrange({Pile{{"5c"}}}, {"5s", "5h", "Th", ""}, {"2c"});
    EXPECT_EQ(ScoreOf("Put0"), 9 - 41);
    EXPECT_EQ(ScoreOf("Build0@0"), 9 - 41 + 9);
    EXPECT_EQ(ScoreOf("Block0@0"), 9 - 41 + 9);
    EXPECT_EQ(ScoreOf("Put1"), 41 - 9);
    EXPECT_EQ(ScoreOf("Block1@0"), 41 - 9 + 9);
    EXPECT_EQ(ScoreOf("Put2"), -4);
}

TEST(Choose, TheFirstOfTheBestScoresWins) {
    auto choose = [](std::vector<int> scores) {
        std::vector<std::uint32_t> list;
        for (std::size_t i = 0; i < scores.size(); ++i)
            list.push_back(std::uint32_t(std::uint16_t(scores[i])) << 16 | std::uint32_t(i));
        return ChooseMove(int(list.size()), list.data());
    };
    EXPECT_EQ(choose({4}), 0);
    EXPECT_EQ(choose({5, 7, 7, 3}), 1);
    EXPECT_EQ(choose({-3, -3}), 0);
    EXPECT_EQ(choose({-256, -1, -2}), 1);
    EXPECT_EQ(choose({-5, 300, 299, 300}), 1);
}

TEST(Choose, WithOnlyPutsTheSmallestLossAndTheHintNamesNoColumn) {
    struct Case {
        std::vector<std::string> hand;
        int player;
        const char* hint;
    };
    const Case cases[] = {
        {{"Qc", "Kd"}, 0, "12"},        // a King before a Queen
        {{"Ac", "5h"}, 0, "12"},        // anything before an unpaired Ace
        {{"Kd", "5c", "5s"}, 0, "12"},  // a plain 5 whose twin is a spade: +32
        {{"Kd", "5h", "5c"}, 0, "12"},  // two plain 5s score 0 each: the lower slot
        {{"Ac", "Ad", "Kc"}, 0, "11"},  // a pair of Aces is put before a King
        {{"Kd", "Qc"}, 1, "21"},
    };
    Seat();
    for (const Case& c : cases) {
        Arrange({}, c.player == 0 ? c.hand : std::vector<std::string>{"2c"},
                c.player == 1 ? c.hand : std::vector<std::string>{"2c"}, c.player);
        EXPECT_EQ(Call("<?></>"), "<?>" + std::string(c.hint) + "</>") << c.hand[0];
        EXPECT_EQ(TheGame().CurIndex(), c.player);
    }
}

}  // namespace
}  // namespace kzq::test
