// The state of one game of Casino: the table, the two players, the stock, the
// records block, the move list and the card movements of the move being
// reported. Also the life of a round: deal, redeal, scoring and its end.
#pragma once

#include <cstdint>

#include "cards.h"
#include "records.h"

namespace kzq {

constexpr int kMaxColumns = 12;
constexpr int kPlayers = 2;
constexpr int kWinningTotal = 21;
constexpr int kMovesPerRound = 48;
constexpr int kMaxMoves = 1024;
constexpr int kMaxMoveStack = 204;

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

// Places of a card movement and of the reply's card items.
enum Place : std::uint8_t { kTable = 0, kHand1 = 1, kHand2 = 2, kPile1 = 3, kPile2 = 4 };

struct CardMove {
    std::uint8_t from;
    std::uint8_t to;
    std::uint8_t rank;
    std::uint8_t suit;
    std::uint8_t fromIndex;
    std::uint8_t fromPos;
    std::uint8_t toIndex;
    std::uint8_t toPos;
};
static_assert(sizeof(CardMove) == 8);

struct Game {
    std::int32_t numColumns = 0;
    Stack tableau[kMaxColumns];
    Player players[kPlayers];
    Player* curPlayer = nullptr;
    std::uint8_t starter = 0;
    std::uint8_t lastTaker = 0;
    Deck deck;
    GameData data = {};
    std::int32_t moveNr = 0;
    std::int32_t numMoves = 0;
    std::uint32_t moves[kMaxMoves] =
        {};                // Move code in the low half, signed score in the high half
    int curMoveStack = 0;  // next free entry of moveStack
    CardMove moveStack[kMaxMoveStack] = {};

    int Index(const Player* p) const { return int(p - players); }
    int CurIndex() const { return Index(curPlayer); }
    Player* OtherPlayer() { return &players[1 - CurIndex()]; }
    int AllCards() const {  // cards on the table
        int n = 0;
        for (int c = 0; c < numColumns; ++c)
            n += tableau[c].numCards;
        return n;
    }
    Card BackCard() const { return Card{data.header.backRank, kBack}; }
};

// A game number from 1 to 32000 deals that numbered deal; any other, or one
// that cannot be read, a stock shuffled with `random`.
void NewGame(Game& g, RandomSource& random, int gameNumber);
void NewRound(Game& g, RandomSource& random, int gameNumber);
void Deal(Game& g, RandomSource& random, int gameNumber);
int PlayersDeal(Game& g);  // 0 when the stock has run out, else the cards dealt
void TableauDeal(Game& g);
// After a move: the next deal of hands, or the end of the round.
void AfterMove(Game& g);
int RoundPoints(const Player& p);
void EndRound(Game& g);
void ScoreLines(const Game& g);
void ScoreLine(const Game& g, int which);  // one G item
void UnseenCards(const Game& g);           // the four U items
void RecomputeHidden(Game& g);
// Whether the tallies of the stock and the Capture Piles match a recount.
bool TalliesAgree(const Game& g);
// Empties the table, the hands, the piles and the stock: no round in play.
void DiscardRound(Game& g);

}  // namespace kzq
