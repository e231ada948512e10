// The items of one library reply, parsed strictly and read front to back by
// casino-sim's checker. Any departure from the expected item throws Broken.
#pragma once

#include <string>
#include <string_view>

#include "mirror.h"

namespace sim {

struct Item {
    char code = 0;
    std::string_view text;
};

inline std::string Quote(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// The items of one reply, read front to back. The reply must be a run of
// items "<" code ">" text ending in exactly one terminator "</>". Each item
// is parsed when the reader reaches it, so a reply costs what its items do;
// End() passes only at the terminator, so every reply the mirror accepts has
// been checked to its last character. The messages of a failure are built
// apart (Wrong...), out of the way of the checks that pass.
class ReplyReader {
  public:
    // Each item read goes into `signature`.
    ReplyReader(std::string_view reply, Signature& signature) : reply_(reply), sign_(signature) {
        Parse();
    }

    const Item* Peek() const { return atEnd_ ? nullptr : &next_; }

    // The next item, which must have this code and text length.
    Item Take(char code, std::size_t length) {
        if (atEnd_ || next_.code != code || next_.text.size() != length) WrongItem(code, length);
        Item it = next_;
        ++taken_;
        Parse();
        return it;
    }

    // The next item, which must be exactly this one.
    void Expect(char code, std::string_view text) {
        Item it = Take(code, text.size());
        for (std::size_t i = 0; i < text.size(); ++i)  // a few characters: compared in place
            if (it.text[i] != text[i]) WrongText(code, text, it.text);
    }

    // The next `items` items, which must be exactly `run`, written out whole
    // ("<G>1...<U>c..."): compared at once, and item by item only to say
    // where a difference lies.
    void ExpectRun(std::string_view run, int items) {
        std::size_t end = itemStart_ + run.size();
        if (!atEnd_ && reply_.substr(itemStart_, run.size()) == run &&
            (end == reply_.size() || reply_[end] == '<')) {
            sign_.Add(reply_.substr(at_, end - at_));  // the first item is in already
            at_ = end;
            taken_ += items;
            Parse();
            return;
        }
        for (std::size_t i = 0; i < run.size();) {
            std::size_t end = run.find('<', i + 1);
            if (end == std::string_view::npos) end = run.size();
            Expect(run[i + 1], run.substr(i + 3, end - i - 3));
            i = end;
        }
    }

    void End() {
        if (!atEnd_) WrongEnd();
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw Broken(what + " (at item " + std::to_string(taken_ + 1) + ")");
    }

    // Reads a card text ("00" for no card).
    Card ParseCard(std::string_view t) const {
        if (t[0] == '0' && t[1] == '0') return Card{};
        int rank = RankOf(t[0]), suit = SuitOf(t[1]);
        if (rank == 0 || suit == 0) WrongCard(t);
        return Card{rank, suit};
    }

    int ParseDigit(char ch) const {
        if (ch < '0' || ch > '9') WrongDigit(ch);
        return ch - '0';
    }

  private:
    static int RankOf(char ch) {
        switch (ch) {
            case 'A':
                return 1;
            case 'T':
                return 10;
            case 'J':
                return 11;
            case 'Q':
                return 12;
            case 'K':
                return 13;
            default:
                return ch >= '2' && ch <= '9' ? ch - '0' : 0;
        }
    }
    static int SuitOf(char ch) {
        switch (ch) {
            case 'c':
                return 1;
            case 'd':
                return 2;
            case 'h':
                return 3;
            case 's':
                return 4;
            default:
                return 0;
        }
    }

    // Reads the item at offset `at_` into next_, or the terminator, which
    // must end the reply.
    void Parse() {
        std::size_t i = at_, size = reply_.size();
        if (i + 2 >= size || reply_[i] != '<' || reply_[i + 2] != '>') WrongStart(i);
        char code = reply_[i + 1];
        std::uint64_t h = sign_.hash;  // in a register: the reply might alias it
        h = Signature::Step(Signature::Step(Signature::Step(h, '<'), code), '>');
        std::size_t start = i + 3, end = start;
        while (end < size && reply_[end] != '<') {  // items are short: no library call
            h = Signature::Step(h, reply_[end]);
            ++end;
        }
        sign_.hash = h;
        if (code == '/') {
            if (end != start || end != size) Fail("text after the terminator");
            atEnd_ = true;
            return;
        }
        next_ = Item{code, std::string_view(reply_.data() + start, end - start)};
        itemStart_ = i;
        at_ = end;
    }

    [[noreturn, gnu::noinline, gnu::cold]] void WrongItem(char code, std::size_t length) const {
        if (atEnd_) Fail(std::string("expected a <") + code + "> item, the reply ends");
        Fail(std::string("expected a <") + code + "> item of " + std::to_string(length) +
             " characters, found <" + next_.code + ">" + Quote(next_.text));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongText(char code, std::string_view text,
                                                          std::string_view found) const {
        Fail(std::string("expected <") + code + ">" + Quote(text) + ", found <" + code + ">" +
             Quote(found));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongEnd() const {
        Fail(std::string("unexpected item <") + next_.code + ">" + Quote(next_.text));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongStart(std::size_t i) const {
        if (i >= reply_.size()) Fail("the reply has no terminator item");
        Fail("malformed item at offset " + std::to_string(i));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongCard(std::string_view t) const {
        Fail("not a card: " + Quote(t));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongDigit(char ch) const {
        Fail(std::string("not a digit: ") + ch);
    }

    std::string_view reply_;
    Signature& sign_;
    std::size_t itemStart_ = 0;  // where next_ starts
    std::size_t at_ = 0;         // where the item after next_ starts
    Item next_;
    bool atEnd_ = false;
    int taken_ = 0;  // items taken, for the messages
};

}  // namespace sim
