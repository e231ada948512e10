#include "core/mirror.h"

void CheckRange(int index, int first, int last, const char* what) {
    if (index < first || index > last)
        throw RangeError("Range check error: " + std::string(what) + " " + std::to_string(index) +
                         " is outside " + std::to_string(first) + ".." + std::to_string(last));
}

void GameMirror::SetCurrentPlayer(int player) {
    CheckRange(player, 1, 2, "current player");
    currentPlayer_ = player;
}
