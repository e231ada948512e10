// Reading a reply of the library: its items one by one ("<" code ">" text)
// and the parameters inside an item (digits, card texts, bracketed names,
// signed numbers, the text up to the next item). Plain C++ over a
// zero-terminated text, without allocation, so that the program, the
// simulator and the library's tests read replies alike. It never steps past
// the terminating zero: a short item reads zeros instead of what lies beyond.
#pragma once

#include <cstdint>
#include <string_view>

namespace wire {

constexpr char kRankChars[] = "A23456789TJQK";  // by rank value 1 to 13
constexpr char kSuitChars[] = "cdhs";           // by suit value 1 to 4

// A card's rank character as its value 1 to 13, 0 for any other character.
constexpr int RankValue(char c) {
    for (int r = 0; r < 13; ++r)
        if (kRankChars[r] == c) return r + 1;
    return 0;
}
// A card's suit character (lower case) as its value 1 to 4, 0 for any other.
constexpr int SuitValue(char c) {
    for (int s = 0; s < 4; ++s)
        if (kSuitChars[s] == c) return s + 1;
    return 0;
}

// How the head of the next item reads.
enum class ItemHead {
    kItem,     // "<" code ">": the cursor stands at the item's text
    kEnd,      // the reply ends (its terminating zero) before any further "<"
    kNoClose,  // "<" and a code without ">" after it
};

class ReplyCursor {
  public:
    explicit ReplyCursor(const char* text, int pos = 0) : text_(text), pos_(pos) {}

    int Pos() const { return pos_; }
    char Peek() const { return text_[pos_]; }
    bool AtEnd() const { return Peek() == '\0'; }
    // True at the terminating zero or at the start of the next item.
    bool AtItemEnd() const { return AtEnd() || Peek() == '<'; }
    char Take() {
        const char c = Peek();
        if (c != '\0') ++pos_;
        return c;
    }
    void Skip(int count) {
        for (int i = 0; i < count; ++i)
            Take();
    }

    // Steps to the next "<" and reads the item's head; `code` is its code.
    ItemHead NextItem(char& code) {
        while (!AtItemEnd())
            ++pos_;
        if (AtEnd()) return ItemHead::kEnd;
        code = text_[pos_ + 1];
        if (code == '\0' || text_[pos_ + 2] != '>') return ItemHead::kNoClose;
        pos_ += 3;
        return ItemHead::kItem;
    }
    // True when no item follows the one the cursor is in.
    bool InLastItem() const {
        int at = pos_;
        while (text_[at] != '\0' && text_[at] != '<')
            ++at;
        return text_[at] == '\0';
    }

    // One digit, as its value.
    int Digit() { return Take() - '0'; }
    int TwoDigits() {
        const int tens = Digit();
        return tens * 10 + Digit();
    }
    // The characters up to the next "<" or the terminator.
    std::string_view TextToNextItem() {
        const int start = pos_;
        while (!AtItemEnd())
            ++pos_;
        return std::string_view(text_ + start, std::size_t(pos_ - start));
    }
    // A name up to ")" or the terminator, its first `keep` characters; steps past ")".
    std::string_view BracketedName(int keep) {
        const int start = pos_;
        while (!AtEnd() && Peek() != ')')
            ++pos_;
        const int length = pos_ - start < keep ? pos_ - start : keep;
        if (Peek() == ')') Take();
        return std::string_view(text_ + start, std::size_t(length));
    }
    // A signed decimal number: characters that are neither digits nor "-" are
    // skipped, then an optional "-" and the digits after it. Saturates
    // instead of overflowing.
    int SignedNumber() {
        while (!AtEnd() && Peek() != '-' && !IsDigit(Peek()))
            Take();
        const bool negative = Peek() == '-';
        if (negative) Take();
        std::int64_t value = 0;
        while (IsDigit(Peek())) {
            value = value * 10 + (Take() - '0');
            if (value > INT32_MAX) value = INT32_MAX;
        }
        return int(negative ? -value : value);
    }

    static constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  private:
    const char* text_;
    int pos_;
};

}  // namespace wire
