// Reply processing: the handler of every reply item. Handlers draw through
// the table view, ask through the selection and the boxes, and update the
// mirrors; what is to be sent next (the computer's move, a menu answer, a new
// round, an accepted hint, a new game) they hand to the driver as follow-ups.
// A move's reply also leaves its marks and words on the table.
#pragma once

#include <QString>
#include <string>

#include "link/logiclink.h"
#include "link/saving.h"
#include "table/movetext.h"
#include "table/tableview.h"

class Replies : public ReplyHandler {
  public:
    // The items update `mirror` and are drawn on `view`; a won game is saved
    // through `saver`, and a new one started through `link`.
    Replies(GameMirror& mirror, LogicLink& link, RecordsSaver& saver, TableView& view)
        : mirror_(mirror), link_(link), saver_(saver), view_(view) {}

    void BeginReply(const std::string& text) override;
    bool HandleItem(char code, wire::ReplyCursor& in, FollowUps& next) override;
    void EndReply() override;

  private:
    // Shows the marks and words of the move being handled, once.
    void ShowMarks();

    GameMirror& mirror_;
    LogicLink& link_;
    RecordsSaver& saver_;
    TableView& view_;
    QString words_;         // the move's words, while its marks wait to be shown
    bool marking_ = false;  // the places its cards touch are being noted
};

// What the words of a move need to know from before it: the names, the
// sweeps and the bottom card of each table pile, as `view` shows them.
MoveContext MoveContextNow(const TableView& view);

// The texts that the reply handlers show.
extern const char kNoRoomText[];
extern const char kContinueCaption[];
extern const char kContinueText[];
extern const char kNewGameCaption[];
// The table's note once the player stops a game at the end of a round, and
// once a game is won and not played again: the totals and how to go on.
// "Alice Brown has 12 points, Benjamin Cox has 9 points.": what the end of a
// round's question tells a screen reader besides its text.
QString TotalsWords(const Settings& settings, int total1, int total2);
QString StoppedNote(const Settings& settings, int total1, int total2);
QString GameOverNote(const Settings& settings, int winner, int total1, int total2);
