// The table as a screen reader finds it. The table is painted, so it gets an
// accessible interface of its own: one child for each place that shows
// cards (each card of the hand a person plays, the other hand as a count,
// each table pile with its cards, value, tag and selection, each capture
// pile), each named in words with its key, placed where it is drawn and
// marked selected or focused; the score sheet as one table; the controls on
// the table follow them, the hidden ones left out. What happens on the table
// (the sentences of the moves, a deal, a pile chosen or left) is spoken
// through an accessible notification once the window is free again, and the
// table's note (how to begin, a stopped game) is its description.
#pragma once

#include <QString>

#include "table/tablefocus.h"

// The name the window gives the table widget; the factory knows it by it.
extern const char kTableObjectName[];

// Installs the factory that gives the table widget its accessible interface
// (once, however often it is called), and has `view` tell it of every change.
void InstallTableAccessible(TableView& view);

// The words of moves and a deal that `view` drew but were not spoken yet,
// taken as spoken: a box that opens before the table could speak tells them itself.
QString TakeUntoldWords(const TableView& view);

// What the table's places are called: "Your hand, card 2 of 4: 9 of hearts
// (key I)", "Table pile 3 (key 3): 5 of clubs and 4 of diamonds, build of 9,
// selected", "Alice Brown's capture pile: 12 cards, top card 9 of hearts".
// Area 1 or 2 with column 0 names a hand that is told as a count; empty for
// a place that shows no card.
QString PlaceName(const TableView& view, int area, int column);
