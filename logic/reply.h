// The reply under construction: tagged items "<" code ">" text, appended at
// the write position, and closed by the terminator item "</>".
//
// An item is written whole or not at all, and room for the terminator is
// always kept, so a reply never exceeds kReplyLimit characters.
#pragma once

#include <cstdint>
#include <cstring>

#include "cards.h"
#include "wire.h"

namespace kzq {

constexpr int kReplySize = wire::kReplySize;
constexpr int kReplyLimit = 1000;  // reply text, terminator included
constexpr int kRoomForItems = kReplyLimit - 3;

// The reply buffer (kReplySize characters) and its write position. They live
// in the library's one object, and the entry that owns it defines these two
// pointers to them at compile time, so that the writing of an item below is
// inline: a move writes a dozen items or more.
extern char* const replyText;
extern int* const replyEnd;

// Empties the reply.
inline void ReplyReset() {
    *replyEnd = 0;
    replyText[0] = 0;
}

// Room for one item of `len` text characters: writes "<" code ">" and returns
// where the text goes, or nullptr when the item does not fit (it is then left
// out whole). The reply stays a C string.
inline char* ItemSpace(char code, int len) {
    int pos = *replyEnd;
    if (pos + 3 + len > kRoomForItems) return nullptr;
    char* out = replyText + pos;
    out[0] = '<';
    out[1] = code;
    out[2] = '>';
    *replyEnd = pos + 3 + len;
    out[3 + len] = 0;
    return out + 3;
}
inline void WriteItem(char code, const char* text, int len) {
    if (char* out = ItemSpace(code, len)) std::memcpy(out, text, std::size_t(len));
}
inline void WriteItem(char code, const char* text) {
    WriteItem(code, text, int(std::strlen(text)));
}
void WriteItemf(char code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// "00" to "99": numbers below 100 are written two digits at a time.
extern const char kTwoDigits[201];
// Writes v, 0 to 99, as two digits.
inline void TwoDigits(int v, char* out) {
    std::memcpy(out, kTwoDigits + 2 * v, 2);
}

// An item's text built without printf: the score lines and labels are
// written after every move, and formatting them through printf was most of a
// move's cost.
class ItemText {
  public:
    ItemText& Char(char c) {
        if (n_ < kCapacity) text_[n_++] = c;
        return *this;
    }
    // v in decimal, zero-padded to `width` like "%0*d" (a minus sign takes the first place).
    ItemText& Number(int v, int width = 1) {
        if (unsigned(v) < 100u && width <= 2 && n_ <= kCapacity - 2) {
            const char* d = kTwoDigits + 2 * v;
            if (v >= 10 || width == 2) text_[n_++] = d[0];
            text_[n_++] = d[1];
            return *this;
        }
        return LongNumber(v, width);
    }
    void Write(char code) const { WriteItem(code, text_, n_); }

  private:
    ItemText& LongNumber(int v, int width);

    static constexpr int kCapacity = 32;
    char text_[kCapacity];
    int n_ = 0;
};

// A small number as one character: -1 "0", 0 "1", ... 8 and more "9".
inline char PosDigit(int v) {
    return char('1' + (v < -1 ? -1 : v > 8 ? 8 : v));
}
// The same for a place noted in a card movement (a byte, never negative),
// read from a table: the report of every card that moves writes four.
struct PosDigitTable {
    char digit[256];
};
constexpr PosDigitTable MakePosDigits() {
    PosDigitTable t{};
    for (int v = 0; v < 256; ++v)
        t.digit[v] = char('1' + (v > 8 ? 8 : v));
    return t;
}
inline constexpr PosDigitTable kPosDigits = MakePosDigits();
inline char PosDigit(std::uint8_t v) {
    return kPosDigits.digit[v];
}

// Room for a run of whole items, `len` characters with their heads: where
// the run goes, or nullptr when it does not fit whole (the caller then
// writes the items one by one, each whole or not at all).
inline char* RunSpace(int len) {
    int pos = *replyEnd;
    if (pos + len > kRoomForItems) return nullptr;
    *replyEnd = pos + len;
    replyText[pos + len] = 0;
    return replyText + pos;
}

// A card item: code, two position digits, the card text.
inline void WriteCardItem(char code, int index, int pos, Card c) {
    char* out = ItemSpace(code, 4);
    if (!out) return;
    out[0] = PosDigit(index);
    out[1] = PosDigit(pos);
    CardText(c, out + 2);
}
// Appends "</>" and copies the reply (NUL included) to `out`; returns its length.
int ReplyFinish(char* out);

}  // namespace kzq
