// The keyboard focus inside the table: which place it rests on (a table pile
// or a card of the hand a person plays), how the arrow keys move it, and the
// dashed outline the window's paint draws around it while the table widget
// has the focus. The places come from the view's table mirror, and the focus
// as set last is the view's (TableView::focusSet); a focus whose place
// is gone rests on the nearest place that is there.
#pragma once

#include <QRgb>

#include "table/tableview.h"

class QPainter;

// The place the focus rests on now: the one set last, or, when it shows no
// card any more, the nearest place of its row (the hand or the piles), else
// of the other row; the first card of the hand before any was set.
TablePlace FocusPlace(const TableView& view);
void SetFocusPlace(TableView& view, const TablePlace& place);
// True when `place` shows a card now.
bool PlaceShown(const TableView& view, const TablePlace& place);
// The hand the keyboard reaches: the hand of the player to move when a
// person plays it, else the first hand a person plays (player 1's when none).
int FocusHand(const TableView& view);
// True when the focus may rest on `place`: a table pile or a card of
// FocusHand() that shows a card.
bool Focusable(const TableView& view, const TablePlace& place);
// Moves the focus: `across` -1 or 1 to the previous or next place of its row,
// `rows` -1 up to the hand or 1 down to the piles, to the place nearest on
// the screen.
void MoveFocus(TableView& view, int across, int rows);

// The table widget gained or lost the keyboard focus: the outline is drawn
// or taken away, and the table's watcher hears of it once the focus has settled.
void TableFocusChanged(TableView& view);
// The outline around the focused place, drawn over the table while the
// table widget has the focus: dashed round a table pile, clear of the gold
// outline of a move; a dashed bracket above a hand card, clear of the cards
// beside it.
void DrawFocus(const TableView& view, QPainter& painter);
constexpr QRgb kFocusColour = qRgb(255, 255, 255);
