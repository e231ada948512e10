// The move generator (the rule book), the reading of a human selection, the
// choice menu and its answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "play_support.h"

namespace kzq::test {
namespace {

using Strings = std::vector<std::string>;

class Generate : public ::testing::Test {
  protected:
    void SetUp() override { Seat(); }
};

TEST_F(Generate, FourteenMovesInTheirOrder) {
    Arrange({Pile{{"2s"}}, Pile{{"5c", "7c"}}, Pile{{"Jh"}}}, {"2c", "2h", "Qh", "Ah"}, {});
    EXPECT_EQ(ListedMoves(), (Strings{"Put0", "Build0@1", "Block0@0", "Take0@0",  // each 2
                                      "Put1", "Build1@1", "Block1@0", "Take1@0",  //
                                      "Put2", "Build2@0", "Take2@1",              // the Queen
                                      "Put3", "Build3@2", "Take3@01"}));          // the Ace
}

TEST_F(Generate, AnAceCountsOneOrFourteen) {
    Arrange({Pile{{"Ac"}}, Pile{{"Ad"}}, Pile{{"Kc"}}}, {"Ah", "5d", "8d", "9d"}, {});
    EXPECT_EQ(Only(ListedMoves(), "Take0"),
              (Strings{"Take0@0", "Take0@02", "Take0@1", "Take0@12", "Take0@01", "Take0@012"}));

    // A build of 14 is taken by an Ace alone and built no further.
    Arrange({Pile{{"8c", "6c"}}, Pile{{"5d"}}}, {"Ah", "2h", "Kh", "Ad"}, {});
    Strings list = ListedMoves();
    EXPECT_EQ(Only(list, "Build"), Strings{});
    EXPECT_EQ(Only(list, "Take"), (Strings{"Take0@0", "Take3@0"}));
}

TEST_F(Generate, UnionsOfDisjointCapturesEachOnceInOrder) {
    Arrange({Pile{{"7c"}}, Pile{{"7d"}}, Pile{{"7h"}}, Pile{{"3c"}}, Pile{{"4c"}}},
            {"7s", "", "", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Take0"),
              (Strings{"Take0@0", "Take0@1", "Take0@2", "Take0@34",  // single captures
                       "Take0@01", "Take0@02", "Take0@034", "Take0@12", "Take0@134", "Take0@012",
                       "Take0@0134", "Take0@234", "Take0@0234", "Take0@1234", "Take0@01234"}));
}

TEST_F(Generate, ABuildNeedsACardThatTakesIt) {
    Arrange({Pile{{"Tc"}}}, {"3h", "9h", "9d", "Kh"}, {});
    EXPECT_EQ(Only(ListedMoves(), "Build"), Strings{"Build0@0"});
    // Listed once for each card that could take it.
    Arrange({Pile{{"Tc"}}}, {"3h", "9h", "Kd", "Kh"}, {});
    EXPECT_EQ(Only(ListedMoves(), "Build"), (Strings{"Build0@0", "Build0@0"}));
    // 6 on 8 makes 14, which the Ace takes.
    Arrange({Pile{{"8c"}}}, {"6h", "8h", "Ah", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Build"), Strings{"Build0@0"});
    // Any pile that is not a block, whoever made it, can be built on.
    Arrange({Pile{{"3c", "2d"}}, Pile{{"4c", "4d"}, true}}, {"4h", "9h", "8h", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Build"), Strings{"Build0@0"});
}

TEST_F(Generate, BlocksAndWhatTakesThem) {
    // A block is taken on its own, never as part of a sum.
    Arrange({Pile{{"7c", "7d"}, true}, Pile{{"3c"}}, Pile{{"4c"}}}, {"7h", "Kd", "Qd", "Jd"}, {});
    EXPECT_EQ(Only(ListedMoves(), "Take0"), (Strings{"Take0@0", "Take0@12", "Take0@012"}));
    Arrange({Pile{{"3c", "3d"}, true}, Pile{{"4c"}}}, {"7h", "Kd", "Qd", "Jd"}, {});
    EXPECT_EQ(Only(ListedMoves(), "Take0"), Strings{});
    Arrange({Pile{{"4c"}}, Pile{{"3c", "3d"}, true}}, {"7h", "Kd", "Qd", "Jd"}, {});
    EXPECT_EQ(Only(ListedMoves(), "Take0"), Strings{});

    // A single card is blocked only by a pair in hand; a block can grow.
    Arrange({Pile{{"7c"}}}, {"7h", "Kd", "", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Block"), Strings{});
    Arrange({Pile{{"7c"}}}, {"7h", "7s", "", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Block"), (Strings{"Block0@0", "Block1@0"}));
    Arrange({Pile{{"7c", "7d"}, true}}, {"7h", "7s", "", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Block"), (Strings{"Block0@0", "Block1@0"}));
    // A build is never blocked, and an Ace blocks only a pile worth 1.
    Arrange({Pile{{"3c", "4c"}}}, {"7h", "7s", "", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Block"), Strings{});
    Arrange({Pile{{"8c", "6c"}}, Pile{{"Ac"}}}, {"Ah", "Ad", "", ""}, {});
    EXPECT_EQ(Only(ListedMoves(), "Block"), (Strings{"Block0@1", "Block1@1"}));
}

TEST_F(Generate, NinePilesOfOneValueStayWithinTheList) {
    // Nine piles worth 5 give 511 captures for a 5: captures stop at 511
    // entries, while Puts and Blocks are always listed.
    Arrange(std::vector<Pile>(9, Pile{{"5s"}}), {"5c", "5d", "Kc", "Qc"}, {"2c", "3c", "4c", "6c"});
    Strings list = ListedMoves();
    ASSERT_EQ(list.size(), 523u);
    EXPECT_EQ(list[0], "Put0");
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(list[1 + c], "Block0@" + std::to_string(c));
        EXPECT_EQ(list[10 + c], "Take0@" + std::to_string(c));
        EXPECT_EQ(list[512 + c], "Block1@" + std::to_string(c));
    }
    Strings takes = Only(list, "Take0");
    EXPECT_EQ(takes.size(), 501u);
    EXPECT_EQ(std::count(takes.begin(), takes.end(), "Take0@012345678"), 0);
    std::sort(takes.begin(), takes.end());
    EXPECT_EQ(std::adjacent_find(takes.begin(), takes.end()), takes.end()) << "a capture twice";
    EXPECT_EQ(list[511], "Put1");
    EXPECT_EQ(Only(list, "Take1"), Strings{});
    EXPECT_EQ(list[521], "Put2");
    EXPECT_EQ(list[522], "Put3");

    // The game goes on: the King is put, and with the table full it goes to
    // the capture pile.
    EXPECT_EQ(Call("<1>3</>").substr(0, 9), "<F>11Kc<1");
    EXPECT_EQ(Call("<2>1</>").substr(0, 9), "<F>112c<2");
}

// Table (columns 3 to 6): 5c, 6c, 3c, 9c. Player 1 holds 3h 6h 3d Qh,
// player 2 Ks 4d Qd 8d.
class Selection : public ::testing::Test {
  protected:
    void SetUp() override {
        Seat();
        WriteDeals({DealRecord({{"3h", "6h", "3d", "Qh", "Ks", "4d", "Qd", "8d"}},
                               {"3c", "6c", "9c", "5c"})});
        Call("<K>1</>");
    }
    static Strings Offered() {
        Strings out;
        for (auto m : theLogic.ambiguousMoves)
            if (m != 0) out.push_back(Describe(Move(m)));
        return out;
    }
};

TEST_F(Selection, RefusalsNameTheirReasonAndChangeNothing) {
    const char* const kFailed = "<E>HumanMove failed</>";
    EXPECT_EQ(Call("<2>1</>"), std::string("<E>Wrong Player") + kFailed);
    for (auto request : {"<1></>", "<1>5</>", "<1>0</>", "<1>05</>"})
        EXPECT_EQ(Call(request), std::string("<E>Player card selection illegal") + kFailed)
            << request;
    for (auto request : {"<1>10</>", "<1>15:</>", "<1>1a</>"})
        EXPECT_EQ(Call(request), std::string("<E>Tableau column selection out of range") + kFailed)
            << request;
    EXPECT_EQ(Call("<Q></>"), "<Q>MoveNr=00</>");
    EXPECT_EQ(TheGame().curPlayer->hand.Count(), 4);
}

TEST_F(Selection, AmbiguousOrUnfitSelectionsOfferAMenu) {
    // 3h on 3c: Take, Build (6) and Block (3d in hand).
    EXPECT_EQ(Call("<1>15</>"), "<M>15<E>HumanMove failed</>");
    EXPECT_EQ(Offered(), (Strings{"Build0@4", "Take0@4", "Block0@4", "Put0"}));
    // 6h on 6c: Take and Build (12).
    EXPECT_EQ(Call("<1>24</>"), "<M>11<E>HumanMove failed</>");
    EXPECT_EQ(Offered(), (Strings{"Build1@3", "Take1@3", "Put1"}));
    // Qh on 9c fits nothing: the menu offers the Put alone.
    EXPECT_EQ(Call("<1>46</>"), "<M>08<E>HumanMove failed</>");
    EXPECT_EQ(Offered(), Strings{"Put3"});
    EXPECT_EQ(Call("<Y>3</>"), "<E>Illegal menu selection</>");
    EXPECT_EQ(Call("<Y>0</>"), "</>");
    EXPECT_EQ(Offered(), Strings{});
    EXPECT_EQ(Call("<Y></>"), "<E>ReplyMsg needs parameter</>");
    EXPECT_EQ(Call("<Q></>"), "<Q>MoveNr=00</>");
}

TEST_F(Selection, SelectionsThatFitOneMovePlayIt) {
    // Qh with 3c and 9c: the Take of both columns.
    std::string reply = Call("<1>456</>");
    EXPECT_EQ(Texts(reply, '0'), (Strings{"5100", "6100"}));
    EXPECT_EQ(Texts(reply, 'P'), Strings{"2"});
    // A hand card alone is put at once.
    reply = Call("<2>2</>");
    EXPECT_EQ(reply.substr(0, 31), "<2>2100<A>204d2151<0>514d<P>1<G");
    // A slot played already is empty.
    EXPECT_EQ(Call("<1>4</>"), "<E>Player card selection illegal<E>HumanMove failed</>");
}

TEST_F(Selection, AMenuAnswerPlaysItsMoveOnlyWhileItIsLegal) {
    Call("<1>24</>");
    EXPECT_EQ(Call("<Y>3</>"), "<E>Illegal menu selection</>");  // no Block was offered
    std::string reply = Call("<Y>2</>");
    EXPECT_EQ(reply.substr(0, reply.find("<G>")),
              "<0>4100<A>036c4112<3>116c<1>2100<A>136h2111<3>116h<P>2");
    EXPECT_EQ(Texts(reply, 'G'), (Strings{"100000000200", "200000000000"}));
    // The Build kept from that menu is not legal any more (column 4 is empty).
    EXPECT_EQ(Call("<Y>1</>"), "<E>Illegal menu selection</>");
    EXPECT_EQ(Call("<Q></>"), "<Q>MoveNr=01</>");
    EXPECT_EQ(TheGame().tableau[3].numCards, 0);
}

TEST(Begin, DuringARoundDiscardsTheRound) {
    Seat(3, 3);
    Call("<N></>");
    FinishRound();
    int total1 = TheGame().players[0].points, total2 = TheGame().players[1].points;
    Call("<R><C><C><C></>");
    EXPECT_EQ(Call("<B>9</>").substr(0, 3), "<V>");
    for (auto request : {"<C></>", "<1>1</>", "<2>1</>", "<?></>"})
        EXPECT_EQ(Call(request), "<E>No moves possible</>") << request;
    EXPECT_EQ(Call("<Q><G><U></>"),
              "<Q>MoveNr=00<G>100000000000<U>c0000<U>d0000<U>h0000<U>s0000</>");
    EXPECT_EQ(Call("<Y>4</>"), "<E>Illegal menu selection</>");
    // The totals stay, and a new round plays to its end.
    EXPECT_EQ(TheGame().players[0].points, total1);
    EXPECT_EQ(TheGame().players[1].points, total2);
    Call("<R></>");
    EXPECT_EQ(Texts(FinishRound(), 'M').size(), 1u);
}

}  // namespace
}  // namespace kzq::test
