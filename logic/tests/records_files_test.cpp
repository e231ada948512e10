// The records file where it meets the system: a file that cannot be read is
// never replaced, temporary files of killed saves are cleared, a damaged
// file behind a link is kept aside beside its target, and a damaged file
// that cannot be kept aside stays and refuses saves.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "records_support.h"

namespace kzq {
namespace {

using test::Call;
using test::Items;

constexpr const char* kReadFailed = "<E>ERROR: Unable to read game data</>";
constexpr const char* kKeepFailed = "<E>ERROR: Unable to keep damaged game data aside</>";

// Runs `f` while no file descriptor can be opened.
template <typename F>
void WithoutDescriptors(F f) {
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const int lowest = dup(0);  // the next open would get this number
    ASSERT_GE(lowest, 0);
    close(lowest);
    rlimit none = limit;
    none.rlim_cur = rlim_t(lowest);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    f();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
}

TEST_F(Records, UnreadableFileStaysAndIsNeverReplaced) {
    const std::string sound = Bytes(Crafted());
    // No descriptor left (EMFILE) for anyone; no permission (EACCES) only
    // for a normal user, since the superuser reads every file.
    for (bool noPermission : {false, true}) {
        if (noPermission && geteuid() == 0) continue;
        test::FreshLibrary();
        WriteFile("kzq.gds", sound);
        std::string reply;
        if (noPermission) {
            chmod("kzq.gds", 0);
            reply = Call("<B>9</>");
        } else {
            WithoutDescriptors([&] { reply = Call("<B>9</>"); });
        }
        EXPECT_EQ(reply, kReadFailed);
        EXPECT_EQ(Bytes(Data()), Bytes(Defaults()));
        EXPECT_EQ(Folder(), Names{"kzq.gds"});  // not kept aside
        chmod("kzq.gds", 0644);
        EXPECT_EQ(Call("<W></>"), kSaveFailed);  // even once it could be read
        EXPECT_EQ(ReadFile("kzq.gds"), sound);
        // The next begin that reads it takes it.
        EXPECT_EQ(Items(Call("<B>9</>"))[0].substr(0, 3), "<V>");
        EXPECT_EQ(Bytes(Data()), sound);
    }
}

// Only what a killed save leaves (an empty file, or a whole records block)
// under a save's temporary name, and only when it is old: beside a linked
// file the same pattern may be another program's.
TEST_F(Records, OnlyOldTemporaryFilesOfSavesAreRemoved) {
    Call("<B>9<W></>");
    const std::string block = ReadFile("kzq.gds");
    struct Leftover {
        const char* name;
        std::string bytes;
        bool old, removed;
    };
    const Leftover files[] = {
        {"kzq.gds.tmpEmpty1", "", true, true},
        {"kzq.gds.tmpBlock1", block, true, true},
        {"kzq.gds.tmpYoung1", block, false, false},
        {"kzq.gds.tmpShort1", block.substr(0, 300), true, false},
        {"kzq.gds.tmpLong12", block + "x", true, false},
        {"kzq.gds.tmpOther1", "Q" + block.substr(1), true, false},
        {"kzq.gds.tmp_Odd_1", "", true, false},
        {"kzq.gds.tmpOld1234", "", true, false},
        {"other.tmpOld123", "", true, false},
    };
    Names expected = {"kzq.gds"};
    for (const Leftover& f : files) {
        WriteFile(f.name, f.bytes);
        if (!f.removed) expected.push_back(f.name);
        if (!f.old) continue;
        const timespec times[2] = {{std::time(nullptr) - 11 * 60, 0},
                                   {std::time(nullptr) - 11 * 60, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, f.name, times, 0), 0);
    }
    EXPECT_EQ(Items(Call("<B>9</>"))[0].substr(0, 3), "<V>");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Folder(), expected);
}

TEST_F(Records, DamagedFileBehindALinkIsKeptBesideItsTarget) {
    fs::create_directory("real");
    std::string damaged = Bytes(Crafted());
    damaged[0] = 'Q';
    WriteFile("real/records", damaged);
    fs::create_symlink("real/records", "kzq.gds");

    EXPECT_EQ(Call("<B>9</>"), "</>");
    EXPECT_EQ(Folder("real"), Names{"records.bad"});
    EXPECT_EQ(ReadFile("real/records.bad"), damaged);
    EXPECT_TRUE(fs::is_symlink("kzq.gds"));
    // The next save goes through the link, as before.
    EXPECT_EQ(Call("<W></>"), "</>");
    EXPECT_TRUE(fs::is_symlink("kzq.gds"));
    EXPECT_EQ(ReadFile("real/records"), Bytes(Data()));
}

TEST_F(Records, DamagedFileWithoutAFreeKeptNameStays) {
    for (int i = 0; i < wire::kKeptNames; ++i) {
        char name[64];
        ASSERT_TRUE(wire::KeptAsideName(name, sizeof name, "kzq.gds", i));
        WriteFile(name, "kept");
    }
    const std::string damaged = Bytes(Crafted()) + "x";
    WriteFile("kzq.gds", damaged);
    EXPECT_EQ(Call("<B>9</>"), kKeepFailed);
    EXPECT_EQ(Call("<W></>"), kSaveFailed);
    EXPECT_EQ(ReadFile("kzq.gds"), damaged);
    EXPECT_EQ(Folder().size(), std::size_t(wire::kKeptNames) + 1);
}

}  // namespace
}  // namespace kzq
