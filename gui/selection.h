// Card selection and move entry: the mouse on the table and the keys that
// stand for clicks, the highlights that make up a selection, the Choose Action
// question, the hint offer, and the hidden debug controls. The reply handlers
// (replies.cpp) call ChooseAction, OfferHint and ClearSelection; the main
// window calls the click and key handlers.
#pragma once

#include <vector>

#include "logiclink.h"

// The window's mouse-down handler, with the click's position in the table.
void CardSelect(int x, int y);
// Keyboard play: the digit keys 1 to 9 click the table pile of that column,
// the slot keys click the current player's hand slots 1 to 4, and the hint
// key presses Hint. `key` is the key's code: the upper-case letter, digit or
// character. True when it is one of these keys; it then acted, but only on a
// human's turn.
bool KeyboardPlay(int key);
extern const char kSlotKeys[];  // "UIOP": not an access letter of a menu command nor "k", "z"
extern const char kHintKey;     // '?'
// Takes every highlight off the table and the hands.
void ClearSelection();
// Asks how to play an ambiguous card; menu code 8, 11, 13, 14 or 15.
// Returns 0 Cancel, 1 Build, 2 Take, 3 Block or 4 Put.
int ChooseAction(int menuCode);
// The computer's recommendation from a "?" item: highlights it and offers it;
// on acceptance sends the move at once with `buffer`.
void OfferHint(int player, int slot, const std::vector<int>& columns, RequestBuffer& buffer);
// The Hint button and menu.
void HintClick();
// The hidden Discard button.
void PlayPutClick();

// The hint question.
extern const char kHintCaption[];
extern const char kHintText[];

// Hidden debug controls.
void HClick();
void DebugShowMsg11();
void Button9Click();
void Button10Click();
void DebugCardArrays();
void DebugCardClicked();
// "GUI > LOG": sends the version request and shows the request and the
// library's reply in a message box.
void SendMessage();
// The two keys that, typed one after the other while the remaining-cards
// button has the focus, show or hide the H button: "k" arms, "z" toggles
// (either letter case).
extern const char kAccessKeys[];
// A key typed while the remaining-cards button has the focus.
void RemainingCardsButtonKeyPress(char key);
