#include "test_support.h"

#include <cstdio>
#include <stdexcept>

#include "cards.h"
#include "logic.h"
#include "reply_cursor.h"

namespace kzq::test {

void FreshLibrary() {
    ResetLogic();
    std::remove("kzq.gds");
    std::remove("Games.py");
}

std::string Call(const std::string& request) {
    char reply[kReplySize];
    int n = CallTheLogic(request.c_str(), reply);
    std::string text(reply);
    if (int(text.size()) != n) throw std::runtime_error("reply length does not match");
    return text;
}

std::vector<std::string> Items(const std::string& reply) {
    std::vector<std::string> items;
    wire::ReplyCursor in(reply.c_str());
    for (char code = 0;;) {
        const wire::ItemHead head = in.NextItem(code);
        if (head == wire::ItemHead::kEnd) return items;
        if (head == wire::ItemHead::kNoClose) {
            in.Take();  // kept whole, as the library wrote it
            items.push_back("<" + std::string(in.TextToNextItem()));
        } else {
            items.push_back(std::string("<") + code + ">" + std::string(in.TextToNextItem()));
        }
    }
}

std::uint8_t DealByte(const std::string& card) {
    Card c = ParseCard(card.at(0), card.at(1));
    if (!c.IsFace()) throw std::invalid_argument("not a card: " + card);
    return std::uint8_t((c.rank - 1) * 4 + (4 - c.suit) + 1);
}

std::vector<std::uint8_t> DealRecord(const std::vector<std::vector<std::string>>& hands,
                                     const std::vector<std::string>& table) {
    // Order in which cards leave the stock: hands of deal 0 (p1 s1, p2 s1, ...),
    // then the four table cards, then the hands of deals 1 to 5.
    std::vector<std::uint8_t> dealt;
    auto addHands = [&](const std::vector<std::string>& h) {
        if (h.size() != 8) throw std::invalid_argument("a deal needs 8 hand cards");
        for (int slot = 0; slot < 4; ++slot) {
            dealt.push_back(DealByte(h[slot]));
            dealt.push_back(DealByte(h[4 + slot]));
        }
    };
    if (!hands.empty()) addHands(hands[0]);
    if (!table.empty()) {
        if (table.size() != 4) throw std::invalid_argument("the table takes 4 cards");
        if (hands.empty()) throw std::invalid_argument("the table comes after the first hands");
        for (const auto& t : table)
            dealt.push_back(DealByte(t));
    }
    for (std::size_t k = 1; k < hands.size(); ++k)
        addHands(hands[k]);
    bool used[53] = {};
    for (auto b : dealt) {
        if (used[b]) throw std::invalid_argument("card dealt twice");
        used[b] = true;
    }
    for (int b = 1; b <= 52; ++b)
        if (!used[b]) dealt.push_back(std::uint8_t(b));
    // The stock deals from its top, the end of the record.
    return std::vector<std::uint8_t>(dealt.rbegin(), dealt.rend());
}

void WriteDeals(const std::vector<std::vector<std::uint8_t>>& records) {
    std::FILE* f = std::fopen("Games.py", "wb");
    if (!f) throw std::runtime_error("cannot write Games.py");
    std::vector<std::uint8_t> zero(52, 0);
    std::fwrite(zero.data(), 1, 52, f);
    for (const auto& r : records)
        std::fwrite(r.data(), 1, r.size(), f);
    std::fclose(f);
}

std::string CheckFailure(const std::string& condition, int number) {
    std::string pattern = "Assertion failed: ";
    for (char c : condition) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) pattern += '\\';
        pattern += c;
    }
    return pattern + ", file kzqlogic, line " + std::to_string(number) + "\n";
}

}  // namespace kzq::test
