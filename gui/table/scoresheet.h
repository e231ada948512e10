// The score sheet as a screen reader finds it: one table, a row for each
// score (aces ... points) and a column for each player, each cell named with
// its player and row ("Alice Brown, aces: 2"). The sheet is drawn with labels
// on the table; told as a table, a screen reader leaves it out when it tells
// what the focus entered, and finds it when asked.
#pragma once

class QAccessibleInterface;
class QWidget;

// The accessible table of the score sheet on `surface`, for the accessible
// table of `surface` to hold as a child; its cells follow the labels the
// window attached. The caller registers and deletes it.
QAccessibleInterface* NewScoreSheetAccessible(QWidget* surface);
