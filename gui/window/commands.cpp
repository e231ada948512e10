// The dialog commands: each asks the library for what its dialog shows,
// opens the dialog and sends what the dialog's outcome calls for.
#include "window/commands.h"

#include "dialogs/formparts.h"
#include "dialogs/highscores.h"
#include "dialogs/newgamebox.h"
#include "link/logiclink.h"
#include "link/operations.h"

int ShowNewGameBox(Game& game, NewGameMode mode) {
    TNewGameBox box(mode, game.mirror, DialogOwner());
    CentreOnScreen(&box);
    box.exec();
    return box.Outcome();
}

void ShowHighScores(Game& game) {
    THighScores box(DialogOwner(), game.view, HallOfFameRequests(game.link, game.saver));
    CentreOnScreen(&box);
    box.exec();
}

namespace {

void RunNewGameBox(Game& game, NewGameMode mode) {
    switch (ShowNewGameBox(game, mode)) {
        case kOutcomeStartGame:
            StartNewGame(game.link, game.mirror, game.view);
            break;
        case kOutcomeApplySettings:
            ApplySettings(game.link, game.mirror, game.view);
            break;
        default:
            break;
    }
}

}  // namespace

void NewGameCommand(Game& game) {
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    game.link.Send(buffer);
    RequestHighScores(game.link, 1);
    RunNewGameBox(game, NewGameMode::kNewGame);
}

void GameSettingsCommand(Game& game) {
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    game.link.Send(buffer);
    RunNewGameBox(game, NewGameMode::kSettings);
}

void HighScoresCommand(Game& game) {
    RequestHighScores(game.link, 2);
    ShowHighScores(game);
}
