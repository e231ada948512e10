// The state of one game of Casino: the table, the two players, the stock, the
// records block, the move list, the card movements of the move being reported
// and the score items as last written. Also the life of a round: deal,
// redeal, scoring and its end.
#pragma once

#include <cstdint>

#include "cards.h"
#include "records.h"
#include "table.h"

namespace kzq {

constexpr int kPlayers = 2;
constexpr int kWinningTotal = 21;
constexpr int kMovesPerRound = 48;
constexpr int kMaxMoves = 1024;

struct Player {
    Deck pile;  // the Capture Pile
    std::int32_t points = 0;
    std::int32_t sweeps = 0;
    std::int32_t level = 0;
    std::uint8_t hidden = 0;
    char name[kNameSize] = {};
    Hand hand;

    int AllCards() const { return pile.AllCards() + hand.Count(); }
};

// What a score line shows: the counts it is written from. The cards take a
// byte: of three fields of one width, the compiler would pack the counts
// into a vector register for the copy that follows a change, on every
// comparison, though most comparisons find nothing changed.
struct ScoreCounts {
    std::uint32_t tally = 0;  // the pile's DeckTally::counts
    std::uint8_t cards = 0;   // a pile holds at most 52
    std::int32_t sweeps = 0;

    static ScoreCounts Of(const Player& p) {
        return ScoreCounts{p.pile.tally.counts, std::uint8_t(p.pile.numCards), p.sweeps};
    }
    // Whether p's line shows these counts. The cards come first: they change
    // with every capture, and the sweeps only with one.
    bool Match(const Player& p) const {
        return cards == p.pile.numCards && tally == p.pile.tally.counts && sweeps == p.sweeps;
    }
};

// The six items that follow every move (a score line "G" for each player,
// the unseen cards of each suit "U"), as they were last written, with what
// each line was written from. One move changes little of them: the player
// who did not move keeps his pile. So a line is written again only when what
// it shows changed, and the six go out as one copy. What a line is written
// from is compared whole, so the kept text never needs to be told of a
// change; it starts as no pile can be (255 cards), so that the first call
// writes both lines. The items' heads, players and suit letters never
// change, so they are laid out once. The unseen cards are written again
// every time (ScoreLines).
struct ScoreItems {
    static constexpr int kLineItem = 3 + 12, kUnseenItem = 3 + 5;
    static constexpr int kLength = kPlayers * kLineItem + 4 * kUnseenItem;

    ScoreCounts counts[kPlayers] = {{0, 255, 0}, {0, 255, 0}};
    int longLines = 0;  // bit `which` for a line past its usual widths
    char text[kLength + 1] = "<G>1...........<G>2...........<U>c....<U>d....<U>h....<U>s....";
};

struct Game {
    std::int32_t numColumns = 0;
    Stack tableau[kMaxColumns];
    Piles piles;  // what the move generator reads of the table; see NotePile
    Player players[kPlayers];
    Player* curPlayer = nullptr;
    std::uint8_t starter = 0;
    std::uint8_t lastTaker = 0;
    Deck deck;
    GameData data = {};
    std::int32_t moveNr = 0;
    std::int32_t numMoves = 0;
    std::uint32_t moves[kMaxMoves] =
        {};  // Move code in the low half, signed score in the high half
    ScoreItems scoreItems;

    int Index(const Player* p) const { return int(p - players); }
    // A comparison rather than Index's division: the reply items of a move
    // ask for it a dozen times.
    int CurIndex() const { return curPlayer == &players[1] ? 1 : 0; }
    Player* OtherPlayer() { return &players[1 - CurIndex()]; }
    int AllCards() const { return piles.cards; }  // cards on the table
    // Whatever changes a pile tells the table's summary: NotePile for one
    // column, RecountPiles after the whole table was laid out or cleared.
    void NotePile(int c) { piles.Note(tableau[c], c); }
    void RecountPiles() { piles = Piles::Recount(tableau, numColumns); }
    Card BackCard() const { return Card{data.header.backRank, kBack}; }
};

// A game number from 1 to 32000 deals that numbered deal; any other, or one
// that cannot be read, a stock shuffled with `random`.
void NewGame(Game& g, RandomSource& random, int gameNumber);
void NewRound(Game& g, RandomSource& random, int gameNumber);
void Deal(Game& g, RandomSource& random, int gameNumber);
int PlayersDeal(Game& g);  // 0 when the stock has run out, else the cards dealt
void TableauDeal(Game& g);
int RoundPoints(const Player& p);
void EndRound(Game& g);
// After a move: the next deal of hands, or the end of the round. Inline:
// every move asks, and one in eight deals.
inline void AfterMove(Game& g) {
    if (g.moveNr % 8 == 0 && PlayersDeal(g) == 0) EndRound(g);
}
// The six items after a move, from the kept text where it still holds.
void ScoreLines(Game& g);
void ScoreLine(const Game& g, int which);  // one G item
void UnseenCards(const Game& g);           // the four U items
void RecomputeHidden(Game& g);
// Whether the table's summary, the hands' card masks and the tallies of the
// stock and the Capture Piles match a recount.
bool TalliesAgree(const Game& g);
// Empties the table, the hands, the piles and the stock: no round in play.
void DiscardRound(Game& g);

}  // namespace kzq
