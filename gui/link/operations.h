// The exchanges with the library that the rest of the program starts:
// a new game with the current settings, settings changed during a game, and
// the fetch of the Hall of Fame rows in a chosen order.
#pragma once

#include "dialogs/highscores.h"
#include "link/logiclink.h"
#include "link/saving.h"

class TableView;

// Clears the table and the score sheet on `view`, shows the plain names,
// tells how to move, and sends the settings with a new game.
void StartNewGame(LogicLink& link, GameMirror& mirror, TableView& view);
// The note that tells how to move, from a new game until the player's first move.
extern const char kFirstTurnNote[];
// Shows a computer player's hand in the chosen back, then sends the settings.
void ApplySettings(LogicLink& link, const GameMirror& mirror, TableView& view);
// Sets the Hall of Fame sort key (1 name .. 7 points per game) and fetches all 15 rows.
void RequestHighScores(LogicLink& link, int key);
// What the Hall of Fame dialog's buttons send: the rows in another order,
// and every record erased (the emptied rows fetched after).
HallOfFameActions HallOfFameRequests(LogicLink& link, RecordsSaver& saver);
