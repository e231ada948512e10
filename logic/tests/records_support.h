// What the records tests share: a fresh empty folder for each test, the
// bytes of a block and of a file, the names a folder holds, and a sound
// file that differs from the defaults everywhere a check looks.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "logic.h"
#include "test_support.h"

namespace kzq {

namespace fs = std::filesystem;
inline std::string Bytes(const GameData& d) {
    return std::string(reinterpret_cast<const char*>(&d), sizeof d);
}

inline void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline GameData Defaults() {
    GameData d;
    DefaultGameData(d);
    return d;
}

// The names in a folder, sorted: what a save leaves behind.
inline std::vector<std::string> Folder(const std::string& path = ".") {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(path))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using Names = std::vector<std::string>;
constexpr const char* kSaveFailed = "<E>ERROR: Unable to save game data</>";

// Each test runs in a new empty folder of its own.
class Records : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::current_path();
        char pattern[] = "records-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = home_ / pattern;
        fs::current_path(folder_);
        test::FreshLibrary();
    }
    void TearDown() override {
        fs::current_path(home_);
        fs::remove_all(folder_);
    }
    static GameData& Data() { return TheGame().data; }
    static std::string Report() { return test::Call("<I></>"); }

  private:
    fs::path home_, folder_;
};

// A sound file that differs from the defaults everywhere a check looks.
inline GameData Crafted() {
    GameData d = Defaults();
    d.header.delay = 9;
    d.header.backRank = 13;
    d.header.backSuit = 1;
    d.header.slot[0] = 4;
    d.header.slot[1] = 2;
    d.header.numPlayersDefined = 5;
    d.header.sortKey = 6;
    d.header.flags = 0xff;
    d.records[4].level = 9;
    d.records[2].won = d.records[2].played;
    std::strcpy(d.records[4].name, "Marker");
    return d;
}

}  // namespace kzq
