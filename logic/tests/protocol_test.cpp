// The text protocol seen from outside: framing, the begin request and its
// refusals, settings, Hall of Fame rows, the debugging requests and the bound
// on the reply's length.
#include "protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic.h"
#include "test_support.h"

namespace kzq {
namespace {

using test::Call;
using test::Items;

const std::string kBanner = std::string("<V>") + kVersionBanner;
const std::string kNotInitialized = "<E>Error: Logic not initialized.</>";
const std::string kRefused = "<E>Error initializing game.</>";

class Protocol : public ::testing::Test {
  protected:
    void SetUp() override { test::FreshLibrary(); }
    void Begin() { ASSERT_EQ(Call("<B>9</>"), "</>"); }
};

// ---- Framing and refusals -------------------------------------------------

TEST_F(Protocol, EmptyRequestsGiveTheTerminatorAlone) {
    auto expectEmpty = [] {
        EXPECT_EQ(Call(""), "</>");
        EXPECT_EQ(Call("</>"), "</>");
        EXPECT_EQ(Call("no items at all"), "</>");
        char reply[kReplySize];
        EXPECT_EQ(CallTheLogic(nullptr, reply), 3);
        EXPECT_STREQ(reply, "</>");
    };
    expectEmpty();
    Begin();
    expectEmpty();
}

TEST_F(Protocol, NothingButBeginBeforeTheFirstBegin) {
    EXPECT_EQ(Call("<V></>"), kNotInitialized);
    EXPECT_EQ(Call("<X><V></>"), kNotInitialized);
    EXPECT_EQ(Call("<Q><B>9</>"), kNotInitialized);  // the B after it is never reached
    EXPECT_EQ(Call("<V></>"), kNotInitialized);
    // Text before the first item is skipped; the first begin answers nothing.
    EXPECT_EQ(Call("junk<B>9<V></>"), kBanner + "</>");
}

TEST_F(Protocol, RefusedBeginStopsTheRequest) {
    EXPECT_EQ(Call("<B>5<V></>"), kRefused);
    EXPECT_EQ(Call("<B>=<V></>"), kRefused);  // one past "<": 13 columns
    EXPECT_EQ(Call("<B></>"), kRefused);      // no column character at all
    EXPECT_EQ(Call("<B><V></>"), kRefused);   // "<" always starts the next item
    EXPECT_EQ(Call("<V></>"), kNotInitialized);

    Begin();
    EXPECT_EQ(Call("<B>5<V></>"), kRefused);
    EXPECT_EQ(Call("<V></>"), kBanner + "</>");  // still initialized
}

TEST_F(Protocol, BeginAcceptsSixToElevenColumns) {
    for (char c : std::string("6789:;")) {
        test::FreshLibrary();
        EXPECT_EQ(Call(std::string("<B>") + c + "</>"), "</>") << c;
        EXPECT_EQ(TheGame().numColumns, c - '0');
    }
    EXPECT_EQ(Call("<B>6</>"), kBanner + "</>");  // a later begin answers the banner
}

TEST_F(Protocol, CodesFoldSeparatorsAreSkippedAndTheTerminatorEnds) {
    EXPECT_EQ(Call("<b>9<v></>"), kBanner + "</>");
    EXPECT_EQ(Call("<V!<v#<V></>"), kBanner + kBanner + kBanner + "</>");
    EXPECT_EQ(Call("<V></><V></>"), kBanner + "</>");
    EXPECT_EQ(Call("<V>"), kBanner + "</>");   // no terminator: ends after the last item
    EXPECT_EQ(Call("<V"), kBanner + "</>");    // item cut after its code
    EXPECT_EQ(Call("<V><"), kBanner + "</>");  // request cut after "<"
    EXPECT_EQ(Call("<n></>").substr(0, 3), "<1>");
    EXPECT_EQ(Call("<q></>"), "<Q>MoveNr=00</>");
}

TEST(ReplyText, PositionDigitsAreClamped) {
    std::string digits;
    for (int v = -3; v <= 10; ++v)
        digits += PosDigit(v);
    EXPECT_EQ(digits, "00012345678999");  // a tenth column would also print as "9"
    EXPECT_EQ(std::string(kVersionBanner, kSignatureSize), kSignature);
}

TEST_F(Protocol, UnknownCodesAreReportedAndTheRestRuns) {
    Begin();
    EXPECT_EQ(Call("<X><V></>"), "<E>Message code not implemented" + kBanner + "</>");
    EXPECT_EQ(Call("<%>abc<{><V></>"),
              "<E>Message code not implemented<E>Message code not implemented" + kBanner + "</>");
    // The debugging no-op, the reseed and the record reset answer nothing.
    EXPECT_EQ(Call("<@>anything at all<Z><=></>"), "</>");
}

TEST_F(Protocol, BeginDuringARoundDiscardsIt) {
    Begin();
    Call("<N></>");
    ASSERT_EQ(TheGame().deck.AllCards(), 40);
    EXPECT_EQ(Call("<B>9</>"), kBanner + "</>");
    const Game& g = TheGame();
    EXPECT_EQ(g.deck.AllCards(), 0);
    EXPECT_EQ(g.AllCards(), 0);
    EXPECT_EQ(g.players[0].hand.Count() + g.players[1].hand.Count(), 0);
    EXPECT_EQ(Call("<Q><C><?><1>1</>"),
              "<Q>MoveNr=00<E>No moves possible<E>No moves possible<E>No moves possible</>");
}

// ---- Settings -------------------------------------------------------------

TEST_F(Protocol, SettingsReportOfTheDefaults) {
    Begin();
    EXPECT_EQ(Call("<I></>"), "<I>10(Alice Brown)<I>20(Benjamin Cox)<I>02b<I>30<I>40<I>50</>");
    EXPECT_EQ(Call("<I>9</>"), Call("<I></>"));  // any other sub-code reports too
}

TEST_F(Protocol, EverySettingReachesTheReport) {
    Begin();
    EXPECT_EQ(Call("<I>06B<I>31<I>41<I>57<I>13Carol<I>25Dave</>"), "</>");
    EXPECT_EQ(Call("<I></>"), "<I>13(Carol)<I>25(Dave)<I>06b<I>31<I>41<I>57</>");
    EXPECT_EQ(Call("<I>30<I>40<I>3x<I>4</>"), "</>");
    EXPECT_EQ(Items(Call("<I></>"))[3], "<I>31");  // any character but "0" sets
    EXPECT_EQ(Items(Call("<I></>"))[4], "<I>40");  // no value: unchanged
}

TEST_F(Protocol, SettingsNeverStoreWhatTheRecordsFileWouldRefuse) {
    Begin();
    Call("<I>0KH<I>55</>");
    // A suit letter never makes the back a face card.
    EXPECT_EQ(Items(Call("<I></>"))[2], "<I>0Kb");
    // No rank: the back design stays; a delay that is not a digit is ignored.
    EXPECT_EQ(Call("<I>0XB<I>0<I>5x<I>5:<I>5</>"), "</>");
    std::vector<std::string> report = Items(Call("<I></>"));
    EXPECT_EQ(report[2], "<I>0Kb");
    EXPECT_EQ(report[5], "<I>55");
}

TEST_F(Protocol, PlayerNamesAndLevels) {
    Begin();
    EXPECT_EQ(Call("<I>1xZoe</>"), "<E>Level out of range</>");
    EXPECT_EQ(Items(Call("<I></>"))[0], "<I>10(Zoe)");
    // The name is cut to 19 characters.
    Call("<I>22ABCDEFGHIJKLMNOPQRSTUVWXYZ</>");
    EXPECT_EQ(Items(Call("<I></>"))[1], "<I>22(ABCDEFGHIJKLMNOPQRS)");
    // No level character: the level is 0 and the name empty.
    EXPECT_EQ(Call("<I>1</>"), "<E>Level out of range</>");
    EXPECT_EQ(Items(Call("<I></>"))[0], "<I>10()");
    // The name runs to the next item.
    EXPECT_EQ(Call("<I>14Eve<V></>"), kBanner + "</>");
    EXPECT_EQ(Items(Call("<I></>"))[0], "<I>14(Eve)");
}

// Which hand cards a deal shows as backs, for the levels of the two players.
std::string Hidden(const std::string& settings) {
    test::FreshLibrary();
    Call("<B>9" + settings + "</>");
    std::string hidden;
    for (const std::string& item : Items(Call("<N></>"))) {
        if ((item[1] == '1' || item[1] == '2') && item.substr(5) == "2b") {
            if (hidden.find(item[1]) == std::string::npos) hidden += item[1];
        }
    }
    return hidden;
}

TEST(HiddenRule, OnlyALoneComputerPlayerIsHidden) {
    EXPECT_EQ(Hidden("<I>10Ann<I>20Bob"), "");
    EXPECT_EQ(Hidden("<I>13Bot<I>20Bob"), "1");
    EXPECT_EQ(Hidden("<I>10Ann<I>29Bot"), "2");
    EXPECT_EQ(Hidden("<I>12Bot<I>24Tob"), "");
    // A refused level counts as a human player.
    EXPECT_EQ(Hidden("<I>10Ann<I>29Bot<I>1xAnn"), "2");
    EXPECT_EQ(Hidden("<I>10Ann<I>29Bot<I>11Ann<I>31"), "");
    // The back design shown is the current one.
    test::FreshLibrary();
    Call("<B>9<I>10Ann<I>27Bot<I>0Q</>");
    std::vector<std::string> deal = Items(Call("<N></>"));
    EXPECT_EQ(deal[1], "<2>11Qb");
    EXPECT_NE(deal[0].substr(5, 1), "b");
    test::FreshLibrary();
}

// ---- Hall of Fame rows and the debugging requests ----------------------------

TEST_F(Protocol, HallOfFameRowsAndClearing) {
    Begin();
    EXPECT_EQ(Call("<I>61<H>01</>"), "<H>010(Alice Brown) -0012 00030 00015</>");
    EXPECT_EQ(Call("<H>15</>"), "<H>150(Olivia Quartermaine) 00002 00002 00001</>");
    EXPECT_EQ(Call("<H>16</>"), "<E>ERROR: index out of range</>");
    EXPECT_EQ(Call("<H>99</>"), "<E>ERROR: index out of range</>");
    // Malformed rows are refused and never clear anything.
    for (const char* bad : {"<H>1</>", "<H></>", "<H>0a</>", "<H>-1</>", "<H>/0</>", "<H>0</>"})
        EXPECT_EQ(Call(bad), "<E>ERROR: index out of range</>") << bad;
    EXPECT_EQ(Call("<H>01</>"), "<H>010(Alice Brown) -0012 00030 00015</>");
    EXPECT_EQ(Call("<H>00</>"), "</>");
    EXPECT_EQ(Call("<H>01</>"), "<H>010(Alice Brown) 00000 00000 00000</>");
    EXPECT_EQ(Call("<=><H>01</>"), "<H>010(Alice Brown) -0012 00030 00015</>");
}

TEST_F(Protocol, PlaceCardTakesFaceCardsOnly) {
    Begin();
    Game& g = TheGame();
    g.tableau[0].isBlock = 1;
    Call("<J>01Kh<J>24Ad</>");
    EXPECT_EQ(g.tableau[0].AllCards(), 1);
    EXPECT_EQ(g.tableau[0].value, 13);
    EXPECT_EQ(g.tableau[0].isBlock, 1);
    EXPECT_EQ(g.players[1].hand.slots[3], (Card{1, 2}));
    // Not a face card, or no such column or slot: nothing happens.
    auto snapshot = [&g] {
        std::vector<Card> cards;
        for (const Stack& s : g.tableau)
            cards.insert(cards.end(), s.cards, s.cards + s.numCards);
        for (const Player& p : g.players)
            cards.insert(cards.end(), p.hand.slots, p.hand.slots + 4);
        return cards;
    };
    const std::vector<Card> before = snapshot();
    Call("<J>01Kb<J>021c<J>0:Kh<J>00Kh<J>15Kh<J>10Kh<J>31Kh<J>11K</>");
    EXPECT_EQ(snapshot(), before);
}

// ---- The reply's bound ----------------------------------------------------

std::string Repeat(const std::string& item, int n) {
    std::string s;
    while (n-- > 0)
        s += item;
    return s;
}

TEST_F(Protocol, ReplyKeepsWithinItsBoundWithWholeItems) {
    Begin();
    // Banners up to the bound; then the settings report's items that are too
    // long are left out whole, and a short one after them is still written.
    const int fit = (kReplyLimit - 3) / int(kBanner.size());
    int room = kReplyLimit - 3 - fit * int(kBanner.size());
    std::string expected = Repeat(kBanner, fit);
    for (const std::string& item : Items(Call("<I>9</>"))) {
        if (item != "</>" && int(item.size()) <= room) expected += item, room -= int(item.size());
    }
    EXPECT_EQ(Call(Repeat("<V>", fit + 5) + "<I>9</>"), expected + "</>");

    const std::string reply = Call(Repeat("<Q>", 400));
    EXPECT_EQ(reply, Repeat("<Q>MoveNr=00", (kReplyLimit - 3) / 12) + "</>");
    EXPECT_LE(reply.size(), std::size_t(kReplyLimit));
}

TEST_F(Protocol, AMoveNearTheBoundKeepsEveryItemThatFits) {
    // The same first move after fillers that leave every amount of room in
    // steps of 12: its items are written in order, each whole if it fits.
    auto firstMove = [](const std::string& fillers) {
        test::FreshLibrary();
        Call("<B>9<I>13Ann<I>23Bob<N></>");
        return Call(fillers + "<C></>");
    };
    const std::vector<std::string> move = Items(firstMove(""));
    for (int n = 0; n <= (kReplyLimit - 3) / 12; ++n) {
        std::string expected = Repeat("<Q>MoveNr=00", n);
        for (const std::string& item : move)
            if (item != "</>" && expected.size() + item.size() <= std::size_t(kReplyLimit - 3))
                expected += item;
        ASSERT_EQ(firstMove(Repeat("<Q>", n)), expected + "</>") << n << " fillers";
    }
}

}  // namespace
}  // namespace kzq
