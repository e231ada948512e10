// Carrying out a chosen move on the game and reporting it card by card, the
// last taker's pickup of the table after the 48th move, and the whole
// sequence that every played move runs through.
#pragma once

#include "cards.h"
#include "game.h"
#include "movecode.h"

namespace kzq {

// Carries out `move` for the player to move and writes its report, card by
// card, as the cards move.
void CarryOutMove(Game& g, Move move);
// Column for a Put of the player to move, or -1 when the table is full.
int FindFreeColumn(const Game& g);
void EndPickup(Game& g);
void RevealMove(const Game& g, Card card, Move move);

enum class Turn { kHuman, kMenuAnswer, kComputer };
// One whole move: the computer's card shown, the move carried out and
// reported, pickup after move 48, score lines, change of player, redeal or
// end of round.
void PlayMove(Game& g, Move move, Turn turn);

}  // namespace kzq
