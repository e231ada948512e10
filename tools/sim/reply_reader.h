// The items of one library reply, parsed strictly and read front to back by
// casino-sim's checker. Any departure from the expected item throws Broken.
#pragma once

#include <string>
#include <string_view>

#include "mirror.h"
#include "reply_cursor.h"

namespace sim {

struct Item {
    char code = 0;
    std::string_view text;
};

inline std::string Quote(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// The wire's card characters (wire::RankValue, wire::SuitValue) by table: a
// switch becomes a jump that is seldom guessed.
struct CardCharTable {
    unsigned char rank[256] = {}, suit[256] = {};
    constexpr CardCharTable() {
        for (int c = 0; c < 256; ++c) {
            rank[c] = static_cast<unsigned char>(wire::RankValue(char(c)));
            suit[c] = static_cast<unsigned char>(wire::SuitValue(char(c)));
        }
    }
};
inline constexpr CardCharTable kCardChars{};

// The items of one reply, read front to back. The reply must be a run of
// items "<" code ">" text ending in exactly one terminator "</>". Only the
// head "<c>" of the next item is read ahead; its text is read when the item
// is taken, checked against the length or the text expected (a text never
// holds "<", so the next item must start right after it), and added to the
// signature on the way. End() passes only at the terminator, so every reply
// the mirror accepts has been read to its last character. The reply is read
// with the wire's reply cursor (wire::ReplyCursor), as the program and the
// library's tests read it; the reply must end in its terminating zero. The
// messages of a failure are built apart (Wrong...), out of the way of the
// checks that pass.
class ReplyReader {
  public:
    // Each item read goes into `signature`.
    ReplyReader(std::string_view reply, Signature& signature)
        : reply_(reply), cursor_(reply.data()), sign_(signature) {
        Head();
    }

    // The code of the next item; 0 at the terminator.
    char PeekCode() const { return atEnd_ ? 0 : code_; }

    // The next item, which must have this code and text length.
    // (Inline, so that the loops over a known length unroll.)
    [[gnu::always_inline]] Item Take(char code, std::size_t length) {
        std::size_t start = itemStart_ + 3, end = start + length;
        if (atEnd_ || code_ != code || !EndsAt(end)) WrongItem(code, length);
        std::uint64_t h = sign_.hash;  // in a register: the reply might alias it
        bool shorter = false;
        for (std::size_t i = start; i < end; ++i) {
            shorter |= reply_[i] == '<';
            h = Signature::Step(h, reply_[i]);
        }
        if (shorter) WrongItem(code, length);
        sign_.hash = h;
        Item it{code, reply_.substr(start, length)};
        Next(end);
        return it;
    }

    // The next item, which must be exactly this one.
    [[gnu::always_inline]] void Expect(char code, std::string_view text) {
        std::size_t start = itemStart_ + 3, end = start + text.size();
        if (atEnd_ || code_ != code || !EndsAt(end)) WrongItem(code, text.size());
        std::uint64_t h = sign_.hash;
        bool differs = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            char c = reply_[start + i];
            differs |= c != text[i];
            h = Signature::Step(h, c);
        }
        if (differs) WrongText(code, text);
        sign_.hash = h;
        Next(end);
    }

    // The next `items` items, which must be exactly `run`, written out whole
    // ("<G>1...<U>c..."): compared at once, and item by item only to say
    // where a difference lies.
    void ExpectRun(std::string_view run, int items) {
        std::size_t end = itemStart_ + run.size();
        if (!atEnd_ && EndsAt(end) && reply_.substr(itemStart_, run.size()) == run) {
            sign_.Add(reply_.substr(itemStart_ + 3, end - itemStart_ - 3));  // the head is in
            taken_ += items - 1;
            Next(end);
            return;
        }
        for (std::size_t i = 0; i < run.size();) {
            std::size_t next = run.find('<', i + 1);
            if (next == std::string_view::npos) next = run.size();
            Expect(run[i + 1], run.substr(i + 3, next - i - 3));
            i = next;
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
        if (!wire::ReplyCursor::IsDigit(ch)) WrongDigit(ch);
        return ch - '0';
    }

  private:
    static int RankOf(char ch) { return kCardChars.rank[static_cast<unsigned char>(ch)]; }
    static int SuitOf(char ch) { return kCardChars.suit[static_cast<unsigned char>(ch)]; }

    // Whether the item's text may end at `end`: the reply ends there or the
    // next item starts there.
    bool EndsAt(std::size_t end) const {
        return end == reply_.size() || (end < reply_.size() && reply_[end] == '<');
    }

    // Steps the cursor to `at`, where the next item must start.
    void Next(std::size_t at) {
        cursor_.Skip(int(at) - cursor_.Pos());
        ++taken_;
        Head();
    }

    // Reads the head of the item at the cursor, which must start right there;
    // the terminator must end the reply.
    void Head() {
        const std::size_t i = std::size_t(cursor_.Pos()), size = reply_.size();
        char code = 0;
        if (cursor_.Peek() != '<' || cursor_.NextItem(code) != wire::ItemHead::kItem) WrongStart(i);
        code_ = code;
        itemStart_ = i;
        sign_.hash = Signature::Step(Signature::Step(Signature::Step(sign_.hash, '<'), code_), '>');
        if (code_ == '/') {
            if (i + 3 != size) Fail("text after the terminator");
            atEnd_ = true;
        }
    }

    // The next item's text as it stands (for messages).
    std::string_view Text() const {
        wire::ReplyCursor text(reply_.data(), int(itemStart_) + 3);
        return text.TextToNextItem();
    }

    [[noreturn, gnu::noinline, gnu::cold]] void WrongItem(char code, std::size_t length) const {
        if (atEnd_) Fail(std::string("expected a <") + code + "> item, the reply ends");
        Fail(std::string("expected a <") + code + "> item of " + std::to_string(length) +
             " characters, found <" + code_ + ">" + Quote(Text()));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongText(char code, std::string_view text) const {
        Fail(std::string("expected <") + code + ">" + Quote(text) + ", found <" + code + ">" +
             Quote(Text()));
    }
    [[noreturn, gnu::noinline, gnu::cold]] void WrongEnd() const {
        Fail(std::string("unexpected item <") + code_ + ">" + Quote(Text()));
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
    wire::ReplyCursor cursor_;  // at the next item's text once its head is read
    Signature& sign_;
    std::size_t itemStart_ = 0;  // where the next item starts
    char code_ = 0;              // the next item's code
    bool atEnd_ = false;
    int taken_ = 0;  // items taken, for the messages
};

}  // namespace sim
