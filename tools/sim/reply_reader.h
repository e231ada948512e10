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
// items "<" code ">" text ending in exactly one terminator "</>".
class ReplyReader {
  public:
    explicit ReplyReader(std::string_view reply) {
        std::size_t i = 0;
        for (;;) {
            if (i >= reply.size()) Fail("the reply has no terminator item");
            if (reply[i] != '<' || i + 2 >= reply.size() || reply[i + 2] != '>')
                Fail("malformed item at offset " + std::to_string(i));
            char code = reply[i + 1];
            std::size_t start = i + 3;
            std::size_t end = reply.find('<', start);
            if (end == std::string_view::npos) end = reply.size();
            if (code == '/') {
                if (end != start || end != reply.size()) Fail("text after the terminator");
                return;
            }
            if (n_ == kMaxItems) Fail("too many items");
            items_[n_++] = Item{code, reply.substr(start, end - start)};
            i = end;
        }
    }

    const Item* Peek() const { return pos_ < n_ ? &items_[pos_] : nullptr; }

    // The next item, which must have this code and text length.
    Item Take(char code, std::size_t length) {
        if (pos_ >= n_) Fail(std::string("expected a <") + code + "> item, the reply ends");
        const Item& it = items_[pos_];
        if (it.code != code || it.text.size() != length)
            Fail(std::string("expected a <") + code + "> item of " + std::to_string(length) +
                 " characters, found <" + it.code + ">" + Quote(it.text));
        ++pos_;
        return it;
    }

    // The next item, which must be exactly this one.
    void Expect(char code, std::string_view text) {
        Item it = Take(code, text.size());
        if (it.text != text)
            Fail(std::string("expected <") + code + ">" + Quote(text) + ", found <" + code + ">" +
                 Quote(it.text));
    }

    void End() {
        if (pos_ < n_)
            Fail(std::string("unexpected item <") + items_[pos_].code + ">" +
                 Quote(items_[pos_].text));
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw Broken(what + " (at item " + std::to_string(pos_ + 1) + ")");
    }

    // Reads a card text ("00" for no card).
    Card ParseCard(std::string_view t) const {
        if (t == "00") return Card{};
        static const std::string_view kRanks = "A23456789TJQK", kSuits = "cdhs";
        std::size_t r = kRanks.find(t[0]), s = kSuits.find(t[1]);
        if (r == std::string_view::npos || s == std::string_view::npos)
            Fail("not a card: " + Quote(t));
        return Card{int(r) + 1, int(s) + 1};
    }

    int ParseDigit(char ch) const {
        if (ch < '0' || ch > '9') Fail(std::string("not a digit: ") + ch);
        return ch - '0';
    }

  private:
    static constexpr int kMaxItems = 400;  // 1000 characters hold at most 333 items
    Item items_[kMaxItems];
    int n_ = 0;
    int pos_ = 0;
};

}  // namespace sim
