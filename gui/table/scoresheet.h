// The score sheet as a screen reader finds it: one table beside the card
// table in the window, a row for each score (aces ... points) and a column
// for each player, each cell named with its player and row ("Alice Brown,
// aces: 2") and given its row and column headers. The sheet is drawn with
// labels on the card table; told as a table of its own, it is left out when
// the focus enters the card table, and found when asked.
#pragma once

class QAccessibleInterface;
class QWidget;

// The accessible interface of the main window `window`: its widgets, then
// the score sheet, whose cells follow the labels the window attached.
QAccessibleInterface* NewWindowAccessible(QWidget* window);
