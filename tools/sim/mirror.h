// A mirror of one computer-against-computer game, built from the library's
// replies alone. Every reply is parsed item by item against the sequence the
// request must produce, and every card is followed from the stock through the
// hands and the table to a Capture Pile. Anything that does not fit (an item
// out of place, a card in two places, a move the rules do not allow, a score
// line that disagrees with the piles, a round that is not 48 moves or whose
// points do not add up) throws `Broken` with a message saying what and where.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace sim {

struct Broken : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Card {
    int rank = 0;  // 0 no card, 1 ace .. 13 king
    int suit = 0;  // 1 clubs .. 4 spades

    bool Empty() const { return rank == 0; }
    int Index() const { return (suit - 1) * 13 + rank - 1; }  // 0 .. 51
    bool operator==(const Card&) const = default;
};

// The signature of a run: FNV-1a (64 bits) over the bytes of every reply in
// order. The reader adds each item as it parses it, so that the hash, a
// chain of multiplications that no processor can hurry, runs alongside the
// checks instead of before them.
struct Signature {
    std::uint64_t hash = 0xCBF29CE484222325ull;

    static std::uint64_t Step(std::uint64_t h, char byte) {
        return (h ^ static_cast<unsigned char>(byte)) * 0x100000001B3ull;
    }
    void Add(std::string_view bytes) {
        std::uint64_t h = hash;  // in a register: the bytes might alias `hash`
        std::size_t i = 0, n = bytes.size();
        for (; i + 4 <= n; i += 4)  // four at a time: fewer steps of the loop itself
            h = Step(Step(Step(Step(h, bytes[i]), bytes[i + 1]), bytes[i + 2]), bytes[i + 3]);
        for (; i < n; ++i)
            h = Step(h, bytes[i]);
        hash = h;
    }
};

// What the driver sends after a reply.
enum class Next { kMove, kNewRound, kGameOver };

// Figures of the whole run.
struct Totals {
    long games = 0;
    long rounds = 0;
    long moves = 0;
    long sweeps = 0;
    long wins[2] = {0, 0};
    long finalPoints[2] = {0, 0};  // summed over finished games
};

class ReplyReader;

class Mirror {
  public:
    explicit Mirror(int numColumns);

    // The reply to "<K>..." or "<N>": a new game's deal.
    Next NewGame(std::string_view reply);
    // The reply to "<R>" after a round without a winner.
    Next NewRound(std::string_view reply);
    // The reply to "<C>": one computer move and what follows it.
    Next Move(std::string_view reply);

    // A reply that the mirror does not check (those to the begin and settings
    // requests) goes into the signature whole; returns it.
    std::string_view Sign(std::string_view reply) {
        signature_.Add(reply);
        return reply;
    }
    std::uint64_t signature() const { return signature_.hash; }

    const Totals& totals() const { return totals_; }
    int moveNr() const { return moveNr_; }

  private:
    struct Column {
        Card cards[8];
        int n = 0;
        int value = 0;
        bool block = false;
    };

    using Reader = ReplyReader;

    void StartRound(Reader& r);
    void DealHands(Reader& r);
    void DealTable(Reader& r);
    void PlayPutOrBuild(Reader& r, int slot, Card card);
    void PlayPutToPile(Reader& r, int slot, Card card);
    void PlayTake(Reader& r, int slot, Card card);
    void Pickup(Reader& r);
    void ScoreLines(Reader& r);
    Next EndRound(Reader& r);

    void MarkDealt(Card c);
    void AddToPile(int player, Card c);
    int FreeColumn(int player) const;
    int TableCards() const;
    int HandCards(int player) const;
    bool HandHoldsRank(int player, int rank, int exceptSlot) const;
    struct PileValue {  // what a capture reads of a column
        int value;
        bool block;
    };
    bool LegalCapture(int rank, unsigned columns, const PileValue* before) const;
    int RoundPoints(int player) const;

    int numColumns_;
    Column table_[12];
    Card hands_[2][4];
    std::uint64_t pileMask_[2] = {0, 0};  // cards by Card::Index
    int pileCount_[2] = {0, 0};
    std::uint64_t dealt_ = 0;  // cards dealt from the stock this round
    int dealtCount_ = 0;
    int moveNr_ = 0;
    int cur_ = 0;        // player to move
    int starter_ = 0;    // who starts the next round; flips at every round's end
    int lastTaker_ = 0;  // kept across rounds and games
    int sweeps_[2] = {0, 0};
    int points_[2] = {0, 0};  // game totals
    bool inRound_ = false;
    Totals totals_;
    Signature signature_;
};

// A round's points of one Capture Pile, sweeps excluded: aces, the 2 of
// spades, the 10 of diamonds (2), 7 or more spades, 27 or more cards (3).
int PilePoints(std::uint64_t pile, int count);

}  // namespace sim
