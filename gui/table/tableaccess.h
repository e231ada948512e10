// The table as a screen reader finds it. The table is painted, so it gets an
// accessible interface of its own: one child for each place that shows
// cards (each card of the hand a person plays, the other hand as a count,
// each table pile with its cards, value, tag and selection, each capture
// pile), each named in words with its key, placed where it is drawn and
// marked selected or focused; the cards of a hand and the table piles each
// a list; the controls on the table follow them, the hidden ones left out.
// The score sheet is a table of its own beside the card table in the window. What happens on the
// table (the sentences of the moves, a deal, a pile chosen or left) is spoken through an accessible
// notification once the window is free again, and the table's note (how to begin, a stopped game)
// is its description.
#pragma once

#include <QString>

#include "table/tablefocus.h"

// The names the window gives the table widget and itself; the factory knows
// them by these.
extern const char kTableObjectName[];
extern const char kWindowObjectName[];

// Installs the factory that gives the table widget its accessible interface
// (once, however often it is called), and has `view` tell it of every change.
void InstallTableAccessible(TableView& view);

// The words of moves and a deal that `view` drew but were not spoken yet,
// taken as spoken: a box that opens before the table could speak tells them itself.
QString TakeUntoldWords(const TableView& view);
