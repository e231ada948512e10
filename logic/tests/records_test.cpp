// The player records: which records files are accepted, refused files kept
// aside, names made safe, saving (also when it fails), seating players in
// records, game results and the Hall of Fame order.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "records_support.h"

namespace kzq {
namespace {

using test::Call;
using test::CheckFailure;
using test::Items;

// ---- Loading ---------------------------------------------------------------

struct FileCase {
    const char* what;
    std::function<void(GameData&)> change;
    int size = 512;
};

TEST_F(Records, SoundFileIsTakenWhole) {
    WriteFile("kzq.gds", Bytes(Crafted()));
    EXPECT_EQ(Call("<B>9</>"), "</>");
    EXPECT_EQ(Bytes(Data()), Bytes(Crafted()));
    EXPECT_EQ(Report(), "<I>19(Marker)<I>20(Clara Dunn)<I>0Kc<I>31<I>41<I>59</>");
    EXPECT_EQ(std::string(TheGame().players[0].name), "Marker");
    EXPECT_EQ(TheGame().players[0].level, 9);
}

TEST_F(Records, UnsoundFilesAreIgnored) {
    const std::vector<FileCase> cases = {
        {"511 bytes", [](GameData&) {}, 511},
        {"513 bytes", [](GameData&) {}, 513},
        {"signature", [](GameData& d) { d.header.signature[23] = '1'; }},
        {"delay 10", [](GameData& d) { d.header.delay = 10; }},
        {"back rank 0", [](GameData& d) { d.header.backRank = 0; }},
        {"back rank 14", [](GameData& d) { d.header.backRank = 14; }},
        {"back suit 0", [](GameData& d) { d.header.backSuit = 0; }},
        {"back suit 6", [](GameData& d) { d.header.backSuit = 6; }},
        {"16 records", [](GameData& d) { d.header.numPlayersDefined = 16; }},
        {"slot 1 unused", [](GameData& d) { d.header.slot[0] = 5; }},
        {"slot 2 unused", [](GameData& d) { d.header.slot[1] = 5; }},
        {"one record", [](GameData& d) { d.header.numPlayersDefined = 1, d.header.slot[0] = 0; }},
        {"reserved in use", [](GameData& d) { d.records[0].reserved = 1; }},
        {"reserved unused", [](GameData& d) { d.records[14].reserved = 0x01000000; }},
        {"won > played", [](GameData& d) { d.records[9].won = d.records[9].played + 1; }},
        {"level 10", [](GameData& d) { d.records[13].level = 10; }},
    };
    for (const FileCase& c : cases) {
        test::FreshLibrary();
        GameData d = Crafted();
        c.change(d);
        std::string bytes = Bytes(d);
        bytes.resize(std::size_t(c.size), '\0');
        WriteFile("kzq.gds", bytes);
        EXPECT_EQ(Call("<B>9</>"), "</>") << c.what;
        EXPECT_EQ(Bytes(Data()), Bytes(Defaults())) << c.what;
    }
}

TEST_F(Records, RefusedFileKeepsTheBlockAsItWas) {
    Call("<B>9<I>57<I>14Bot</>");
    const std::string before = Bytes(Data());
    GameData d = Crafted();
    d.header.delay = 10;
    WriteFile("kzq.gds", Bytes(d));
    EXPECT_EQ(Call("<B>9</>").substr(0, 3), "<V>");
    EXPECT_EQ(Bytes(Data()), before);
    EXPECT_EQ(Items(Report())[0], "<I>14(Bot)");
}

TEST_F(Records, RefusedFilesAreKeptAsideNeverOverwritten) {
    const std::string bad = Bytes(Crafted()) + "x";  // one byte too many
    WriteFile("kzq.gds", bad);
    EXPECT_EQ(Call("<B>9</>"), "</>");
    EXPECT_EQ(Bytes(Data()), Bytes(Defaults()));
    EXPECT_EQ(Folder(), Names{"kzq.gds.bad"});
    EXPECT_EQ(ReadFile("kzq.gds.bad"), bad);

    // One planted after the begin request is kept by the save, beside the first.
    std::string damaged = Bytes(Crafted());
    damaged[3] = 'Q';
    WriteFile("kzq.gds", damaged);
    EXPECT_EQ(Call("<W></>"), "</>");
    EXPECT_EQ(Folder(), (Names{"kzq.gds", "kzq.gds.bad", "kzq.gds.bad1"}));
    EXPECT_EQ(ReadFile("kzq.gds.bad"), bad);
    EXPECT_EQ(ReadFile("kzq.gds.bad1"), damaged);
    EXPECT_EQ(ReadFile("kzq.gds"), Bytes(Defaults()));
}

TEST_F(Records, NamesCannotAddReplyItems) {
    GameData d = Crafted();
    std::memcpy(d.records[4].name, "X)<M>502121\0<", 14);
    std::memcpy(d.records[2].name, "Y\x01\x1f\x7f\xe9)<M>13", 12);
    WriteFile("kzq.gds", Bytes(d));
    Call("<B>9</>");
    EXPECT_EQ(Report(), "<I>19(X??M>502121)<I>20(Y???\xe9??M>13)<I>0Kc<I>31<I>41<I>59</>");
    // Nothing else of the file changes, there or in memory.
    EXPECT_EQ(ReadFile("kzq.gds"), Bytes(d));
    d.records[4].name[1] = d.records[4].name[2] = '?';
    d.records[2].name[1] = d.records[2].name[2] = d.records[2].name[3] = '?';
    d.records[2].name[5] = d.records[2].name[6] = '?';
    EXPECT_EQ(Bytes(Data()), Bytes(d));
    // Names from requests are made safe the same way.
    EXPECT_EQ(Items(Call("<I>10A\tB<I></>"))[0], "<I>10(A?B)");
}

TEST_F(Records, TwentiethNameCharacterIsCut) {
    GameData d = Crafted();
    std::memcpy(d.records[4].name, "ABCDEFGHIJKLMNOPQRST", kNameSize);  // no NUL
    WriteFile("kzq.gds", Bytes(d));
    Call("<B>9</>");
    EXPECT_EQ(std::string(Data().records[4].name), "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(Items(Report())[0], "<I>19(ABCDEFGHIJKLMNOPQRS)");
    EXPECT_EQ(Call("<W></>"), "</>");
    EXPECT_EQ(ReadFile("kzq.gds")[32 + 4 * 32 + 19], '\0');
}

// ---- Saving ----------------------------------------------------------------

TEST_F(Records, SaveAndLoadRoundTrip) {
    Call("<B>9<I>06B<I>31<I>57<I>13Carol<I>20Dave<I>62</>");
    const std::string report = Report();
    fs::create_symlink("victim", "kzq.gds.tmp");  // planted where a save once wrote
    EXPECT_EQ(Call("<W></>"), "</>");
    EXPECT_EQ(ReadFile("kzq.gds"), Bytes(Data()));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("kzq.gds")));
    EXPECT_EQ(Folder(), (Names{"kzq.gds", "kzq.gds.tmp"}));  // and no victim made

    ResetLogic();  // as a new load of the library, with the file in place
    EXPECT_EQ(Call("<B>9</>"), "</>");
    EXPECT_EQ(Report(), report);
    EXPECT_EQ(Bytes(Data()), ReadFile("kzq.gds"));
}

TEST_F(Records, FailedSaveKeepsTheOldFileAndSaysSo) {
    Call("<B>9<W></>");
    const std::string old = ReadFile("kzq.gds");
    ASSERT_EQ(old.size(), 512u);
    Call("<I>13Carol<I>59</>");

    // A file size limit stops the write short, as a full disk would.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 100;
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string reply = Call("<W><V></>");
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    EXPECT_EQ(reply.substr(0, 38), "<E>ERROR: Unable to save game data<V>K");
    EXPECT_EQ(ReadFile("kzq.gds"), old);
    EXPECT_EQ(Folder(), Names{"kzq.gds"});  // no temporary file is left behind

    // A read-only file is not replaced, by any user.
    chmod("kzq.gds", 0444);
    EXPECT_EQ(Call("<W></>"), kSaveFailed);
    EXPECT_EQ(ReadFile("kzq.gds"), old);
    EXPECT_EQ(fs::status("kzq.gds").permissions(), fs::perms(0444));
    EXPECT_EQ(Folder(), Names{"kzq.gds"});
    chmod("kzq.gds", 0644);

    // The block in memory is unchanged, and the next save goes through.
    EXPECT_EQ(Items(Report())[0], "<I>13(Carol)");
    EXPECT_EQ(Call("<W></>"), "</>");
    EXPECT_EQ(ReadFile("kzq.gds"), Bytes(Data()));
}

TEST_F(Records, OnlyRegularFilesAreReadOrReplaced) {
    alarm(30);  // an open that waits on the FIFO ends the test here
    for (bool fifo : {true, false}) {
        test::FreshLibrary();
        ASSERT_EQ(fifo ? mkfifo("kzq.gds", 0644) : mkdir("kzq.gds", 0755), 0);
        EXPECT_EQ(Call("<B>9<I>59</>"), "</>");
        EXPECT_EQ(Data().header.numPlayersDefined, 15);  // the defaults, nothing read
        EXPECT_EQ(Call("<W></>"), kSaveFailed);
        EXPECT_EQ(Folder(), Names{"kzq.gds"});
        EXPECT_EQ(fs::is_fifo("kzq.gds"), fifo);
        fs::remove("kzq.gds");
    }
    alarm(0);
}

TEST_F(Records, SaveReplacesTheLinkedFileWithItsMode) {
    Call("<B>9<W></>");
    fs::create_directory("real");
    fs::rename("kzq.gds", "real/records");
    chmod("real/records", 0640);  // neither what a new file gets nor what it had
    fs::create_symlink("real/records", "kzq.gds");

    EXPECT_EQ(Call("<I>13Carol<W></>"), "</>");
    EXPECT_TRUE(fs::is_symlink("kzq.gds"));
    EXPECT_EQ(ReadFile("real/records"), Bytes(Data()));
    EXPECT_EQ(fs::status("real/records").permissions(), fs::perms(0640));
    EXPECT_EQ(Folder("real"), Names{"records"});
    EXPECT_EQ(Folder(), (Names{"kzq.gds", "real"}));
}

// ---- Seating players -------------------------------------------------------

TEST_F(Records, NamesAreFoundExactlyOrGetANewRecord) {
    Call("<B>9<I>15Clara Dunn</>");
    EXPECT_EQ(Data().header.slot[0], 2);
    EXPECT_EQ(Data().records[2].level, 5);
    EXPECT_EQ(Data().records[2].points, -10);  // the record keeps its numbers
    EXPECT_EQ(Data().header.numPlayersDefined, 15);

    Data().header.numPlayersDefined = 5;
    Call("<I>23clara dunn</>");  // letter case counts
    EXPECT_EQ(Data().header.numPlayersDefined, 6);
    EXPECT_EQ(Data().header.slot[1], 5);
    const PlayerRecord& r = Data().records[5];
    EXPECT_EQ(r.points + r.played + r.won + r.reserved, 0u);
    EXPECT_EQ(r.level, 3);
    // The longer name that was there leaves no bytes behind.
    EXPECT_EQ(std::string(r.name, kNameSize), "clara dunn" + std::string(10, '\0'));
}

TEST_F(Records, FullRecordsEvictTheWeakest) {
    Call("<B>9<I>10Zed</>");  // player 1 sits in Alice's record, the weakest
    EXPECT_EQ(Data().header.numPlayersDefined, 15);
    EXPECT_EQ(std::string(Data().records[0].name), "Olivia Quartermaine");  // last moved in
    EXPECT_EQ(std::string(Data().records[14].name), "Zed");
    EXPECT_EQ(Data().header.slot[0], 14);
    EXPECT_EQ(Data().header.slot[1], 1);

    // On equal points the lowest index goes.
    test::FreshLibrary();
    Call("<B>9</>");
    Data().records[4].points = Data().records[9].points = -30;
    Call("<I>10Zed</>");
    EXPECT_EQ(std::string(Data().records[4].name), "Olivia Quartermaine");
    EXPECT_EQ(std::string(Data().records[9].name), "James Lawson");
}

TEST_F(Records, EvictionSparesTheOtherPlayer) {
    Call("<B>9<I>20Zed</>");  // player 1 sits in the weakest record
    EXPECT_EQ(Data().header.slot[0], 0);
    EXPECT_EQ(std::string(Data().records[0].name), "Alice Brown");
    EXPECT_EQ(std::string(Data().records[2].name), "Olivia Quartermaine");  // Clara went
    EXPECT_EQ(Items(Report())[0], "<I>10(Alice Brown)");

    // When the other player's record is the one moved, its slot follows it.
    test::FreshLibrary();
    Call("<B>9<I>10Olivia Quartermaine<I>20Newbie</>");
    EXPECT_EQ(Data().header.slot[0], 0);
    EXPECT_EQ(Data().header.slot[1], 14);
    std::vector<std::string> report = Items(Report());
    EXPECT_EQ(report[0], "<I>10(Olivia Quartermaine)");
    EXPECT_EQ(report[1], "<I>20(Newbie)");
}

// ---- Results, clearing, rows -----------------------------------------------

TEST_F(Records, FinishedGameUpdatesBothRecords) {
    Call("<B>9<I>61</>");  // rows by name: Alice first, Benjamin second
    RecordGame(Data(), 0, 23, 15);
    EXPECT_EQ(Call("<H>01<H>02</>"),
              "<H>010(Alice Brown) 00011 00031 00016<H>020(Benjamin Cox) 00006 00029 00014</>");
    RecordGame(Data(), 1, 22, 9);
    EXPECT_EQ(Call("<H>01<H>02</>"),
              "<H>010(Alice Brown) -0002 00032 00016<H>020(Benjamin Cox) 00028 00030 00015</>");
}

TEST_F(Records, SharedRecordTakesBothUpdatesAndPointsStopAtTheirEnds) {
    Call("<B>9<I>10Ann<I>20Ann</>");
    ASSERT_EQ(Data().header.slot[0], Data().header.slot[1]);
    PlayerRecord& r = Data().records[Data().header.slot[0]];
    RecordGame(Data(), 1, 25, 10);
    EXPECT_EQ(r.points, 10);
    EXPECT_EQ(r.played, 2);
    EXPECT_EQ(r.won, 1);

    // 16-bit points stop at their ends instead of wrapping.
    Call("<I>20Bob</>");
    PlayerRecord& ann = Data().records[Data().header.slot[0]];
    PlayerRecord& bob = Data().records[Data().header.slot[1]];
    ann.points = 32760;
    bob.points = -32760;
    RecordGame(Data(), 0, 23, 0);
    EXPECT_EQ(ann.points, 32767);
    EXPECT_EQ(bob.points, -32768);
    char row[64];
    const std::uint8_t order[kMaxPlayerRecords] = {Data().header.slot[1]};
    HallRow(Data(), order, 1, row, sizeof row);
    EXPECT_STREQ(row, "010(Bob) -32768 00001 00000");

    // The next start takes the saved file as it is.
    ASSERT_EQ(Call("<W></>"), "</>");
    const std::string saved = ReadFile("kzq.gds");
    ResetLogic();
    EXPECT_EQ(Call("<B>9</>"), "</>");
    EXPECT_EQ(Bytes(Data()), saved);
}

TEST_F(Records, GameCountsStopAtTheirLimitAndStayLoadable) {
    Call("<B>9</>");
    PlayerRecord& winner = Data().records[Data().header.slot[0]];
    PlayerRecord& loser = Data().records[Data().header.slot[1]];
    winner.played = winner.won = 0xFFFF;
    loser.played = 0xFFFF;
    loser.won = 0xFFFE;
    RecordGame(Data(), 0, 21, 3);
    EXPECT_EQ(winner.played, 0xFFFF);
    EXPECT_EQ(winner.won, 0xFFFF);
    EXPECT_EQ(loser.played, 0xFFFF);
    EXPECT_EQ(loser.won, 0xFFFE);
    // The saved block is still one the next start accepts.
    ASSERT_EQ(Call("<W></>"), "</>");
    ResetLogic();
    Call("<B>9</>");
    EXPECT_EQ(Data().records[Data().header.slot[0]].played, 0xFFFF);
}

TEST_F(Records, ResetRestoresRecordsAndKeepsTheHeader) {
    Call("<B>9<I>14Zed<I>57<H>00</>");
    const GameDataHeader header = Data().header;
    Data().records[3].reserved = 7;
    EXPECT_EQ(Call("<=></>"), "</>");
    EXPECT_EQ(std::memcmp(&header, &Data().header, sizeof header), 0);
    const GameData defaults = Defaults();
    EXPECT_EQ(std::memcmp(Data().records, defaults.records, sizeof defaults.records), 0);
    EXPECT_EQ(Items(Report())[0], "<I>10(Olivia Quartermaine)");  // slot 14 again holds a default
}

TEST(RecordChecks, BadArgumentsAreFatal) {
    GameData d = Defaults();
    EXPECT_DEATH(RecordGame(d, 2, 21, 0), CheckFailure("(winner==0)||(winner==1)", 856));
    char line[63];
    EXPECT_DEATH(PlayerLine(d, 0, line, sizeof line), CheckFailure("len>=64", 643));
}

// ---- Hall of Fame order ----------------------------------------------------

// The value each key orders by, highest first (key 1, the name, aside).
double KeyValue(int key, const PlayerRecord& r) {
    const double percent = r.played ? 100.0 * r.won / r.played : 0;
    const double perGame = r.played ? double(r.points) / r.played : 0;
    const double values[8] = {
        double(r.points), 0,       double(r.points), double(r.won), -double(r.played - r.won),
        double(r.played), percent, perGame};
    return values[key];
}

void SetRecord(PlayerRecord& r, const char* name, int points, int played, int won) {
    std::memset(r.name, 0, kNameSize);
    std::strcpy(r.name, name);
    r.points = std::int16_t(points), r.played = std::uint16_t(played), r.won = std::uint16_t(won);
}

// Records that tell the keys apart; an integer percent or points per game
// would put the later one of each pair behind the earlier.
GameData SortData() {
    GameData d = Defaults();
    SetRecord(d.records[0], "zoe", -40, 0, 0);
    SetRecord(d.records[1], "Zed", 30, 200, 133);  // 66.5 %
    SetRecord(d.records[2], "Yan", 21, 10, 2);     // 2.1 per game
    SetRecord(d.records[3], "Xia", 7, 3, 2);       // 66.67 %, 2.33 per game
    SetRecord(d.records[4], "Wes", -5, 100, 1);
    SetRecord(d.records[5], "Abe", -3, 7, 0);
    SetRecord(d.records[6], "abe", 5, 1, 1);
    return d;
}

TEST(HallOrder, EveryKeySortsItsValue) {
    GameData d = SortData();
    std::uint8_t order[kMaxPlayerRecords];
    for (int key = 0; key < 16; ++key) {
        d.header.sortKey = std::uint8_t(key);
        SortHall(d, order);
        std::vector<bool> seen(kMaxPlayerRecords);
        for (std::uint8_t i : order)
            seen.at(i) = true;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), true), kMaxPlayerRecords) << key;
        for (int i = 1; i < kMaxPlayerRecords; ++i) {
            const PlayerRecord& a = d.records[order[i - 1]];
            const PlayerRecord& b = d.records[order[i]];
            if ((key & 7) == 1) {
                EXPECT_LT(std::strcmp(a.name, b.name), 0) << a.name << " " << b.name;
            } else {
                EXPECT_GT(KeyValue(key & 7, a) - KeyValue(key & 7, b), -0.01)
                    << "key " << key << ": " << a.name << " before " << b.name;
            }
        }
    }
    d.header.sortKey = 1;
    SortHall(d, order);
    EXPECT_STREQ(d.records[order[0]].name, "Abe");  // capitals first
    EXPECT_STREQ(d.records[order[kMaxPlayerRecords - 1]].name, "zoe");
}

TEST(HallOrder, HundredthsDecideKeysSixAndSeven) {
    GameData d = SortData();
    // Closer than 0.01: equal, so they stay in the order they were found.
    SetRecord(d.records[7], "Pam", 0, 6001, 2000);  // 33.328 %
    SetRecord(d.records[8], "Ray", 0, 3, 1);        // 33.333 %
    SetRecord(d.records[9], "Sue", 1000, 3001, 0);  // 0.33322 per game
    SetRecord(d.records[10], "Tom", 1, 3, 0);       // 0.33333 per game
    std::uint8_t order[kMaxPlayerRecords];
    auto position = [&](int index) {
        return std::find(order, order + kMaxPlayerRecords, index) - order;
    };
    d.header.sortKey = 6;
    SortHall(d, order);
    EXPECT_LT(position(7), position(8));
    EXPECT_LT(position(6), position(3));  // 100 % before 66.67 %
    EXPECT_LT(position(3), position(1));  // 66.67 % before 66.5 %
    d.header.sortKey = 7;
    SortHall(d, order);
    EXPECT_LT(position(9), position(10));
    EXPECT_LT(position(3), position(2));   // 2.33 before 2.1
    EXPECT_LT(position(10), position(0));  // played 0 counts as 0 per game
    EXPECT_LT(position(0), position(4));   // ... and -0.05 comes after it
}

TEST_F(Records, SortRequestChangesTheRows) {
    Call("<B>9</>");
    EXPECT_EQ(Call("<H>01</>"), "<H>010(Nathaniel Price) 00026 00004 00002</>");
    EXPECT_EQ(Call("<I>65<H>01</>"), "<H>010(Leo Nugent) 00024 00038 00019</>");
    Data().records[12].played = 100;  // no re-sort until asked
    EXPECT_EQ(Call("<H>01</>"), "<H>010(Leo Nugent) 00024 00038 00019</>");
    EXPECT_EQ(Call("<I>6=<H>01</>"), "<H>010(Margaret Owens) 00000 00100 00003</>");  // key 13: 5
}

}  // namespace
}  // namespace kzq
