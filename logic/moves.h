// Moves: the generator that lists every legal move of the player to move (a
// move is legal exactly when it is listed, so the generator is the rule
// book), and the reading of a human player's selection and menu answer.
#pragma once

#include <cstdint>

#include "computer.h"
#include "game.h"
#include "movecode.h"

namespace kzq {

// The moves a menu offers after an ambiguous selection, by kind (0: not offered).
using AmbiguousMoves = std::uint32_t[4];

// Fills the move list of the player to move and scores it with `weights`;
// returns its length.
int GenerateMoves(Game& g, const CardWeights& weights);
bool IsListed(const Game& g, Move code);
// Reads a human selection (slot digit, column digits) against the list last
// generated and plays the one move it names; true when a move was played. An ambiguous one fills
// `ambiguous` and asks which kind was meant.
bool PlayHumanMove(Game& g, AmbiguousMoves& ambiguous, const char* selection, char code,
                   int length);
// Answer to a choice menu (request Y): plays the offered move of that kind
// while it is still legal.
void PlayMenuAnswer(Game& g, const CardWeights& weights, AmbiguousMoves& ambiguous,
                    const char* param, int length);

}  // namespace kzq
