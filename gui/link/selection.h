// Card selection and move entry: the mouse on the table and the keys that
// stand for clicks, the highlights that make up a selection, the move request
// built from them, and the hint offer. The reply handlers (replies.cpp) call
// OfferHint and ClearSelection; the main window calls the click and key
// handlers, with the table view they read and draw on and the link that
// sends the move.
#pragma once

#include <QString>
#include <vector>

#include "link/logiclink.h"
#include "table/tablelayout.h"  // kSlotKeys

class TableView;

// The window's mouse-down handler, with the click's position in the table.
void CardSelect(TableView& view, LogicLink& link, int x, int y);
// Keyboard play: the digit keys 1 to 9 click the table pile of that column,
// the slot keys click the current player's hand slots 1 to 4, and the hint
// key presses Hint. `key` is the key's code: the upper-case letter, digit or
// character. True when it is one of these keys; it then acted, but only on a
// human's turn.
bool KeyboardPlay(TableView& view, LogicLink& link, int key);
extern const char kHintKey;  // '?'
// Keys on the table while it has the keyboard focus: the arrow keys move the
// focus along the hand and the piles and between the two, Space and Enter
// click the focused place (a pile is selected or deselected, a hand card is
// played), as its key does. True when `key` is one of these keys.
bool TableKey(TableView& view, LogicLink& link, int key);
// Takes every highlight off the table and the hands.
void ClearSelection(TableView& view);
// The hand slot digit, then the digit of every highlighted table column in ascending order.
void MakeMoveMessage(const TableView& view, int slot, RequestBuffer& buffer);
// The computer's recommendation from a "?" item: highlights it and offers it;
// on acceptance the move is the follow-up, sent before the reply goes on.
void OfferHint(TableView& view, int player, int slot, const std::vector<int>& columns,
               FollowUps& next);
// The Hint button and menu.
void HintClick(TableView& view, LogicLink& link);
// The hidden Discard button: player 1's first hand card is put on the table.
void PlayPutClick(TableView& view, LogicLink& link);

// The hint question: the move in words and what it gains, asked before the
// table as it is now changes. kHintText when the move cannot be told.
QString HintQuestion(const TableView& view, int player, int slot, const std::vector<int>& columns);
extern const char kHintCaption[];
extern const char kHintText[];
