// The reply under construction: tagged items "<" code ">" text, appended at
// the write position, and closed by the terminator item "</>".
//
// An item is written whole or not at all, and room for the terminator is
// always kept, so a reply never exceeds kReplyLimit characters.
#pragma once

#include "cards.h"

namespace kzq {

constexpr int kReplySize = 1001;
constexpr int kReplyLimit = 1000;  // reply text, terminator included

void ReplyReset();
void WriteItem(char code, const char* text, int len);
void WriteItem(char code, const char* text);
void WriteItemf(char code, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A card item: code, two position digits, the card text.
void WriteCardItem(char code, int index, int pos, Card c);
// Appends "</>" and copies the reply (NUL included) to `out`; returns its length.
int ReplyFinish(char* out);

// A small number as one character: -1 "0", 0 "1", ... 8 and more "9".
char PosDigit(int v);

}  // namespace kzq
