#include "link/operations.h"

#include "table/tableview.h"

const char kFirstTurnNote[] =
    "Your turn: click piles on the table to take or build, then a card in your hand.  "
    "A hand card alone puts it down.";

void StartNewGame(LogicLink& link, GameMirror& mirror, TableView& view) {
    view.ClearTable();
    view.ShowPlayerNames();
    // The new game's deal carries no score lines: the last game's go now.
    for (int player = 1; player <= 2; ++player) {
        mirror.scores[player] = ScoreRecord{};
        view.ShowScores(player, mirror.scores[player]);
    }
    view.ShowTurn(0);
    view.SetTableNote(QString::fromLatin1(kFirstTurnNote));
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    MakeSettingsMessage(mirror.settings, buffer);
    AddMessageCode('Z', buffer);
    AddMessageCode('K', buffer);
    AddDigit(mirror.settings.gameNumber, buffer);
    AddMessageCode('U', buffer);
    link.Send(buffer);
}

void ApplySettings(LogicLink& link, const GameMirror& mirror, TableView& view) {
    const int back = CardPicture(mirror.settings.backRank, mirror.settings.backSuit);
    const int levels[] = {mirror.settings.player1Level, mirror.settings.player2Level};
    for (int player = 1; player <= 2; ++player) {
        if (levels[player - 1] <= 0) continue;
        for (int slot = 1; slot <= 4; ++slot)
            if (view.table.pileDepth[player][slot] > 0)
                view.DisplayCard(player, slot, 1, back, kShow);
    }
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    MakeSettingsMessage(mirror.settings, buffer);
    link.Send(buffer);
}

void RequestHighScores(LogicLink& link, int key) {
    RequestBuffer buffer;
    MakeMessage('I', buffer);
    AddChar('6', buffer);
    AddDigit(key, buffer);
    link.Send(buffer);
    for (int row = 1; row <= kHallRows; ++row) {
        MakeMessage('H', buffer);
        MakeGetHighScoresMessage(row, buffer);
        link.Send(buffer);
    }
}

HallOfFameActions HallOfFameRequests(LogicLink& link, RecordsSaver& saver) {
    HallOfFameActions actions;
    actions.sortBy = [&link](int key) { RequestHighScores(link, key); };
    actions.clearAll = [&link, &saver] {
        RequestBuffer buffer;
        MakeMessage('H', buffer);
        MakeGetHighScoresMessage(0, buffer);
        link.Send(buffer);
        saver.SaveRecords(QString::fromLatin1(kContinueWithoutSaving));
    };
    return actions;
}
