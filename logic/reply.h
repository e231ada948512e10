// The reply under construction: tagged items "<" code ">" text, appended at
// the write position, and closed by the terminator item "</>".
//
// An item is written whole or not at all, and room for the terminator is
// always kept, so a reply never exceeds kReplyLimit characters.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "cards.h"
#include "wire.h"

namespace kzq {

constexpr int kReplySize = wire::kReplySize;
constexpr int kReplyLimit = 1000;  // reply text, terminator included
constexpr int kRoomForItems = kReplyLimit - 3;

// The reply under construction: its write position and text. The text is a
// C string only once ReplyFinish has closed it; items are appended without
// a terminator of their own.
struct Reply {
    int end;
    char text[kReplySize];
};

// The reply is the first member of the library's one object (logic.h), so
// the writer below reaches it at the object's own address, which the linker
// fixes: one load for the position and none for the buffer, where pointers
// to them would each be read from memory first. The writing of an item is
// inline, since a move writes a dozen items or more. The object is hidden
// inside the library, so it is addressed directly, not through a table of
// exported names.
struct Logic;
extern Logic theLogic __attribute__((visibility("hidden")));
inline Reply& TheReply() {
    return *reinterpret_cast<Reply*>(&theLogic);
}

// Empties the reply.
inline void ReplyReset() {
    TheReply().end = 0;
}

static_assert(std::endian::native == std::endian::little, "an item's head is stored as a word");

// Room for one item of `len` text characters: writes "<" code ">" and returns
// where the text goes, or nullptr when the item does not fit (it is then left
// out whole).
inline char* ItemSpace(char code, int len) {
    Reply& r = TheReply();
    int pos = r.end;
    if (pos + 3 + len > kRoomForItems) return nullptr;
    char* out = r.text + pos;
    // The head "<" code ">" goes out as one four-byte store. Its fourth byte
    // falls on the item's text, or for an empty item where the next item or
    // the terminator goes, inside the room always kept for the terminator.
    std::uint32_t head = '<' | std::uint32_t(std::uint8_t(code)) << 8 | '>' << 16;
    std::memcpy(out, &head, 4);
    r.end = pos + 3 + len;
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
// Writes v, 0 to 99, as two digits. The index is taken unsigned, which
// needs no widening to an address.
inline void TwoDigits(int v, char* out) {
    std::memcpy(out, kTwoDigits + 2 * unsigned(v), 2);
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
    Reply& r = TheReply();
    int pos = r.end;
    if (pos + len > kRoomForItems) return nullptr;
    r.end = pos + len;
    return r.text + pos;
}

// A card item: code, two position digits, the card text.
inline void WriteCardItem(char code, int index, int pos, Card c) {
    char* out = ItemSpace(code, 4);
    if (!out) return;
    out[0] = PosDigit(index);
    out[1] = PosDigit(pos);
    CardText(c, out + 2);
}
// Appends "</>" and copies the reply (NUL included) to `out`; returns its
// length. Room for the terminator is always kept (kRoomForItems).
inline int ReplyFinish(char* out) {
    Reply& r = TheReply();
    int pos = r.end;
    std::memcpy(r.text + pos, "</>", 4);
    std::memcpy(out, r.text, std::size_t(pos) + 4);
    return pos + 3;
}

}  // namespace kzq
