// Folder core/: the bottom layer of the program. It holds the record of the
// game's state that every other layer reads (the mirror of what the library
// reported) and the index-checked array through which all of it is reached;
// it uses nothing of the program's own.
//
// The mirror: the library's settings, which players the computer moves,
// whose turn it is, the score records and the Hall of Fame table, and the
// debug switch, together with the index-checked array that guards every
// index into them. The window's game owns the one mirror and hands it on. A bad index raises
// RangeError, which abandons the current event handler; the application reports it and goes on (see
// application.h).
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

// An index outside the range of the array or value it selects.
class RangeError : public std::out_of_range {
  public:
    explicit RangeError(const std::string& message) : std::out_of_range(message) {}
};

// Throws RangeError unless first <= index <= last; `what` names the thing indexed.
void CheckRange(int index, int first, int last, const char* what);

// A fixed array indexed from First to Last (both included); every access is checked.
template <typename T, int First, int Last>
class Checked {
    static_assert(First <= Last);

  public:
    static constexpr int kFirst = First;
    static constexpr int kLast = Last;
    static constexpr int kSize = Last - First + 1;

    T& operator[](int index) { return items_[Slot(index)]; }
    const T& operator[](int index) const { return items_[Slot(index)]; }
    void Fill(const T& value) { items_.fill(value); }
    // The storage, for handing a buffer to the library.
    T* data() { return items_.data(); }
    const T* data() const { return items_.data(); }

  private:
    static std::size_t Slot(int index) {
        CheckRange(index, First, Last, "index");
        return std::size_t(index - First);
    }
    std::array<T, kSize> items_{};
};

// Fixed values of the program.
constexpr int kNumColumns = 9;        // table columns the library is begun with
constexpr int kHallRows = 15;         // Hall of Fame rows requested
constexpr int kMaxLevel = 9;          // highest computer level
constexpr int kDelayMultiplier = 20;  // milliseconds per delay step
constexpr int kMaxNameLength = 20;

// The settings as the program knows them. Names are single-byte text, as on the wire.
struct Settings {
    std::string player1Name = "Player No. 1";
    int player1Level = 0;  // 0: human
    std::string player2Name = "Player No. 2";
    int player2Level = 1;  // 1..9
    char backRank = '6';   // card back as rank and suit characters
    char backSuit = 'B';
    bool sound = true;
    bool animation = true;
    int delaySetting = 0;  // 0..9, sent as one digit
    int delayUnit = 10;    // milliseconds per step of a delay item
    int gameNumber = 0;    // sent as the one character '0' + number
};

// One player's counts of a round, in the order of the score sheet.
struct ScoreRecord {
    int aces = 0;
    int twoSpades = 0;
    int tenDiamonds = 0;
    int sweeps = 0;
    int spades = 0;
    int cards = 0;
    int points = 0;
};

// One row of the Hall of Fame.
struct HallRow {
    std::string name;
    int points = 0;
    int played = 0;
    int won = 0;
    int lost = 0;
    double percentWon = 0.0;
    double pointsPerGame = 0.0;
};

class GameMirror {
  public:
    GameMirror() { playerIsComputer[2] = 1; }  // player 2 is the computer from the start

    Settings settings;
    Checked<int, 1, 2> playerIsComputer;  // 1: the library moves this player
    bool debugFlag = false;               // show every request, reply and error item
    Checked<ScoreRecord, 1, 2> scores;
    Checked<HallRow, 1, kHallRows> hallOfFame;

    // The player named by the last player-to-move item: 1 or 2.
    int CurrentPlayer() const { return currentPlayer_; }
    void SetCurrentPlayer(int player);  // RangeError unless 1 or 2

  private:
    int currentPlayer_ = 1;
};
