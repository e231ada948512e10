// Reply processing: splits a reply of the library into its items and runs
// each item's handler. Handlers draw through the table view, ask through the
// selection and the boxes, update the program-wide state, and may build a
// follow-up request in the buffer (the computer's move) or send one at once
// (a menu answer, a new round). A move's reply also leaves its marks and
// words on the table.
#pragma once

#include "link/logiclink.h"
#include "table/movetext.h"

// `menuAnswer`, when not 0, answers a Choose Action menu that offers it (see SendToLogic).
void ProcessMessage(const ReplyBuffer& reply, RequestBuffer& buffer, int menuAnswer = 0);
// What the words of a move need to know from before it: the names, the
// sweeps and the bottom card of each table pile, as the program shows them.
MoveContext MoveContextNow();

// The texts that the reply handlers show.
extern const char kNoRoomText[];
extern const char kContinueCaption[];
extern const char kContinueText[];
extern const char kNewGameCaption[];
// The table's note once the player stops a game at the end of a round, and
// once a game is won and not played again: the totals and how to go on.
QString StoppedNote(int total1, int total2);
QString GameOverNote(int winner, int total1, int total2);
