// The dialog commands: each asks the library for what its dialog shows,
// opens the dialog and sends what the dialog's outcome calls for.
#include "window/commands.h"

#include "dialogs/formparts.h"
#include "dialogs/highscores.h"
#include "dialogs/newgamebox.h"
#include "link/logiclink.h"
#include "link/operations.h"

int ShowNewGameBox(NewGameMode mode) {
    TNewGameBox box(mode, DialogOwner());
    CentreOnScreen(&box);
    box.exec();
    return box.Outcome();
}

void ShowHighScores() {
    THighScores box(DialogOwner(), HallOfFameRequests());
    CentreOnScreen(&box);
    box.exec();
}

namespace {

void RunNewGameBox(NewGameMode mode) {
    switch (ShowNewGameBox(mode)) {
        case kOutcomeStartGame:
            StartNewGame();
            break;
        case kOutcomeApplySettings: {
            RequestBuffer buffer;
            ApplySettings(buffer);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void NewGameCommand() {
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    SendToLogic(buffer);
    RequestHighScores(1, buffer);
    RunNewGameBox(NewGameMode::kNewGame);
}

void GameSettingsCommand() {
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    SendToLogic(buffer);
    RunNewGameBox(NewGameMode::kSettings);
}

void HighScoresCommand() {
    RequestBuffer buffer;
    RequestHighScores(2, buffer);
    ShowHighScores();
}
