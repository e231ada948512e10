#include "core/globals.h"

Settings settings;
// Player 2 is the computer from the start.
Checked<int, 1, 2> playerIsComputer = [] {
    Checked<int, 1, 2> flags;
    flags[2] = 1;
    return flags;
}();
bool debugFlag = false;
Checked<ScoreRecord, 1, 2> scores;
Checked<HallRow, 1, kHallRows> hallOfFame;

namespace {
int currentPlayer = 1;
}

void CheckRange(int index, int first, int last, const char* what) {
    if (index < first || index > last)
        throw RangeError("Range check error: " + std::string(what) + " " + std::to_string(index) +
                         " is outside " + std::to_string(first) + ".." + std::to_string(last));
}

int CurrentPlayer() {
    return currentPlayer;
}

void SetCurrentPlayer(int player) {
    CheckRange(player, 1, 2, "current player");
    currentPlayer = player;
}

void ResetProgramState() {
    settings = Settings{};
    playerIsComputer[1] = 0;
    playerIsComputer[2] = 1;
    debugFlag = false;
    currentPlayer = 1;
    scores.Fill(ScoreRecord{});
    hallOfFame.Fill(HallRow{});
}
