// Numbered deals: the card coding of the deals file, which numbers and
// records are used, and the fall-back to a shuffled stock (also when the
// name is not a regular file).
#include "deals.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "logic.h"
#include "test_support.h"

namespace kzq {
namespace {

using test::Call;
using test::Items;

std::vector<std::uint8_t> Ascending() {
    std::vector<std::uint8_t> r(52);
    std::iota(r.begin(), r.end(), std::uint8_t(1));
    return r;
}

// The twelve card items of a fresh game's first deal, and what went to stdout.
struct Dealt {
    std::vector<std::string> cards;
    std::string out;
};

Dealt StartGame(const std::string& request) {
    Call("<B>9</>");
    testing::internal::CaptureStdout();
    std::vector<std::string> items = Items(Call(request));
    Dealt d{{}, testing::internal::GetCapturedStdout()};
    if (items.size() >= 12) d.cards.assign(items.begin(), items.begin() + 12);
    return d;
}

class Deals : public ::testing::Test {
  protected:
    void SetUp() override {
        test::FreshLibrary();
        shuffled_ = StartGame("<N></>").cards;  // what the fresh generator deals
        ASSERT_EQ(shuffled_.size(), 12u);
        test::FreshLibrary();
    }
    std::vector<std::string> shuffled_;
};

TEST(DealCoding, BytesRunByRankThenSpadesHeartsDiamondsClubs) {
    EXPECT_EQ(DecodeDealByte(1), (Card{1, kSpades}));
    EXPECT_EQ(DecodeDealByte(2), (Card{1, kHearts}));
    EXPECT_EQ(DecodeDealByte(3), (Card{1, kDiamonds}));
    EXPECT_EQ(DecodeDealByte(4), (Card{1, kClubs}));
    EXPECT_EQ(DecodeDealByte(5), (Card{2, kSpades}));
    EXPECT_EQ(DecodeDealByte(40), (Card{10, kClubs}));
    EXPECT_EQ(DecodeDealByte(52), (Card{13, kClubs}));
    bool seen[5][14] = {};
    for (int b = 1; b <= 52; ++b) {
        Card c = DecodeDealByte(b);
        ASSERT_TRUE(c.IsFace()) << b;
        EXPECT_FALSE(seen[c.suit][c.rank]) << b;
        seen[c.suit][c.rank] = true;
    }
}

TEST_F(Deals, RecordGivesTheStockBottomFirst) {
    test::WriteDeals({Ascending()});
    Dealt d = StartGame("<K>1</>");
    EXPECT_EQ(d.out, "");
    ASSERT_EQ(d.cards.size(), 12u);
    // The last byte is dealt first: King of clubs to player 1, King of
    // diamonds to player 2, and so on down the record.
    EXPECT_EQ(d.cards[0], "<1>11Kc");
    EXPECT_EQ(d.cards[1], "<2>11Kd");
    EXPECT_EQ(d.cards[2], "<1>21Kh");
    EXPECT_EQ(d.cards[7], "<2>41Qs");
    const Deck& stock = TheGame().deck;
    EXPECT_EQ(stock.AllCards(), 40);
    EXPECT_EQ(stock.cards[0], (Card{1, kSpades}));
    EXPECT_EQ(stock.cards[39], (Card{10, kClubs}));  // byte 40: the table took 41 to 44
}

TEST_F(Deals, NumbersPickTheirRecord) {
    std::vector<std::uint8_t> second = Ascending();
    std::swap(second[51], second[0]);  // Ace of spades dealt first
    test::WriteDeals({Ascending(), second});
    EXPECT_EQ(StartGame("<K>2xyz</>").cards[0], "<1>11As");  // digits up to the first other
    test::FreshLibrary();
    test::WriteDeals({Ascending(), second});
    EXPECT_EQ(StartGame("<K>0001</>").cards[0], "<1>11Kc");
}

TEST_F(Deals, HighestNumberIsUsable) {
    std::FILE* f = std::fopen("Games.py", "wb");
    ASSERT_NE(f, nullptr);
    std::vector<std::uint8_t> r = Ascending();
    std::fseek(f, 32000L * 52, SEEK_SET);
    std::fwrite(r.data(), 1, r.size(), f);
    std::fclose(f);
    EXPECT_EQ(StartGame("<K>32000</>").cards[0], "<1>11Kc");
}

TEST_F(Deals, NumbersOutOfRangeNeverOpenTheFile) {
    for (const char* request : {"<K>0</>", "<K></>", "<K>abc</>", "<K>32001</>",
                                "<K>99999999999999999999</>", "<N></>"}) {
        test::FreshLibrary();
        Dealt d = StartGame(request);
        EXPECT_EQ(d.out, "") << request;
        EXPECT_EQ(d.cards, shuffled_) << request;
    }
}

TEST_F(Deals, MissingFileIsReportedOnStandardOutput) {
    // A FIFO or folder of that name counts as missing, and is never waited on.
    alarm(30);
    for (auto make : {+[] { return 0; }, +[] { return mkfifo("Games.py", 0644); },
                      +[] { return mkdir("Games.py", 0755); }}) {
        test::FreshLibrary();
        ASSERT_EQ(make(), 0);
        Dealt d = StartGame("<K>1</>");
        EXPECT_EQ(d.out, "Unable to find Games.bin\n");
        EXPECT_EQ(d.cards, shuffled_);
    }
    alarm(0);
    std::remove("Games.py");
}

TEST_F(Deals, UnusableRecordsGiveAShuffledStock) {
    auto with = [](int at, int byte) {
        std::vector<std::uint8_t> r = Ascending();
        r[at] = std::uint8_t(byte);
        return r;
    };
    std::vector<std::uint8_t> shortRecord = Ascending();
    shortRecord.pop_back();
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {with(10, 0), "<K>1</>"},
        {with(10, 53), "<K>1</>"},
        {with(10, 12), "<K>1</>"},
        {shortRecord, "<K>1</>"},  // and a whole record beyond a 104-byte file:
        {Ascending(), "<K>2</>"}};
    for (const auto& [record, request] : cases) {
        test::FreshLibrary();
        test::WriteDeals({record});
        Dealt d = StartGame(request);
        EXPECT_EQ(d.out, "") << request;
        EXPECT_EQ(d.cards, shuffled_) << request << " " << int(record[10]);
    }
}

TEST(DealFile, RefusedRecordLeavesTheStockAlone) {
    test::FreshLibrary();
    std::vector<std::uint8_t> twice = Ascending();
    twice[51] = twice[0];
    test::WriteDeals({twice});
    Deck deck;
    deck.Push(Card{5, kHearts});
    EXPECT_FALSE(LoadNumberedDeal(deck, 1));
    EXPECT_EQ(deck.AllCards(), 1);
    EXPECT_EQ(deck.cards[0], (Card{5, kHearts}));
    test::WriteDeals({Ascending()});
    EXPECT_TRUE(LoadNumberedDeal(deck, 1));
    EXPECT_EQ(deck.AllCards(), 52);
    std::remove("Games.py");
}

TEST_F(Deals, LaterRoundsAreShuffled) {
    test::WriteDeals({Ascending()});
    ASSERT_EQ(StartGame("<K>1</>").cards[0], "<1>11Kc");
    // The numbered deal drew no random numbers, so the next round deals what a
    // fresh generator deals.
    std::vector<std::string> items = Items(Call("<R></>"));
    ASSERT_GE(items.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + 12), shuffled_);
}

}  // namespace
}  // namespace kzq
