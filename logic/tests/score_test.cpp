// What is kept from one move to the next against the same written or read
// afresh, over random play (moves of every kind, deals, new rounds and seats
// changing between human and computer): the score items (ScoreItems), and
// the table's summary (Piles) and the hands' card masks that the move
// generator and the unseen cards read (TalliesAgree).
#include <gtest/gtest.h>

#include <random>

#include "apply.h"
#include "play_support.h"
#include "reply.h"

namespace kzq::test {
namespace {

// The six items after a move through the kept text, then written afresh.
std::pair<std::string, std::string> KeptAndFresh() {
    static char out[kReplySize];
    Game& g = TheGame();
    ReplyReset();
    ScoreLines(g);
    ReplyFinish(out);
    std::string kept = out;
    ReplyReset();
    ScoreLine(g, 0);
    ScoreLine(g, 1);
    UnseenCards(g);
    ReplyFinish(out);
    return {kept, out};
}

TEST(ScoreItems, KeptTextIsWhatAFreshWriteGives) {
    Seat(1, 1);
    Call("<N></>");
    std::mt19937 random(25);
    for (int step = 0; step < 4000; ++step) {
        Game& g = TheGame();
        ReplyReset();
        int n = GenerateMoves(g, theLogic.cardWeight);
        if (n > 0)
            PlayMove(g, Move(g.moves[random() % unsigned(n)]), Turn::kComputer);
        else
            Call("<R></>");    // the round is over
        if (step % 37 == 0) {  // a seat changes hands: its cards are seen or unseen
            std::string seat = std::to_string(1 + random() % 2);
            Call("<I>" + seat + std::to_string(random() % 2) + "Seat" + seat + "</>");
        }
        auto [kept, fresh] = KeptAndFresh();
        ASSERT_EQ(kept, fresh) << "after step " << step;
        ASSERT_TRUE(TalliesAgree(g)) << "after step " << step;
    }
}

// A line past its usual widths (only the debugging request can bring ten
// aces) is written in its longer form, and the kept text takes over again
// once the line fits.
TEST(ScoreItems, ALineGoesLongAndBack) {
    Seat(1, 1);
    Call("<N></>");
    Deck& pile = TheGame().players[1].pile;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 10; ++i)
            pile.Push(Card{1, kClubs});
        auto [kept, fresh] = KeptAndFresh();
        EXPECT_EQ(kept, fresh);
        pile.Clear();
        std::tie(kept, fresh) = KeptAndFresh();
        EXPECT_EQ(kept, fresh);
    }
}

}  // namespace
}  // namespace kzq::test
