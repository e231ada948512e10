// The dialog commands and, until the dialogs themselves are built, their
// stand-ins: ShowNewGameBox ends as cancelled and ShowHighScores shows nothing.
#include "dialogs.h"

#include "logiclink.h"
#include "operations.h"

int ShowNewGameBox(NewGameMode mode) {
    // The New Game dialog comes with the dialogs work; until then it ends as cancelled.
    (void)mode;
    return kOutcomeNone;
}

void ShowHighScores() {
    // The Hall of Fame dialog comes with the dialogs work.
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
