// The commands that open the game dialogs (New Game, Game Settings, High
// Scores) and the dialogs themselves: the New Game dialog, which edits the
// mirrored settings, and the Hall of Fame dialog, which shows the rows that
// the program has fetched from the library.
#pragma once

#include "dialogs/newgamebox.h"
#include "link/game.h"

// Builds the New Game dialog in the given mode, shows it modally, returns its outcome.
int ShowNewGameBox(Game& game, NewGameMode mode);
// Shows the Hall of Fame table in its dialog, modally.
void ShowHighScores(Game& game);

// The New Game command (menu, pop-up menu and the hidden NewGame button).
void NewGameCommand(Game& game);
// The Game Settings command.
void GameSettingsCommand(Game& game);
// The High Scores command.
void HighScoresCommand(Game& game);
