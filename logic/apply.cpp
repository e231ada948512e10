#include "apply.h"

#include <bit>
#include <cstring>

#include "check.h"
#include "reply.h"

namespace kzq {

namespace {

// Places of a card movement, as the report gives them.
enum Place : std::uint8_t { kTable = 0, kHand1 = 1, kHand2 = 2, kPile1 = 3, kPile2 = 4 };

// A card's flight item, its eight characters in one word, the first in the
// lowest byte: from and to, the card, and the four position digits (old
// place, then new). A card's passage writes most of these characters twice
// or three times over (its old place emptied, its flight, its new place
// filled), so they are looked up once, as the card moves, and the three
// items are cut from the word.
using Flight = std::uint64_t;
static_assert(std::endian::native == std::endian::little, "a Flight is written out as it lies");

inline Flight MakeFlight(int from, int to, Card c, int fromIndex, int fromPos, int toIndex,
                         int toPos) {
    std::uint16_t card;
    std::memcpy(&card, EntryOf(c).text, 2);
    auto digit = [](int v) { return Flight(std::uint8_t(PosDigit(std::uint8_t(v)))); };
    return Flight(std::uint8_t('0' + from)) | Flight(std::uint8_t('0' + to)) << 8 |
           Flight(card) << 16 | digit(fromIndex) << 32 | digit(fromPos) << 40 |
           digit(toIndex) << 48 | digit(toPos) << 56;
}

// A character of a flight, and the word of eight characters built from bytes.
constexpr char FlightChar(Flight f, int i) {
    return char(f >> (8 * i));
}
constexpr std::uint64_t Chars(std::uint8_t c, int at) {
    return std::uint64_t(c) << (8 * at);
}

// The two digits of a card's new place in a Capture Pile (every card of a
// pile is shown at its foot), and on the table (its flight's last two).
constexpr std::uint16_t kPileFoot = '1' | '1' << 8;
constexpr std::uint16_t TablePlace(Flight f) {
    return std::uint16_t(f >> 48);
}

// A card's passage item by item, each whole or not at all, near the end of
// the reply. Kept out of line: the usual case below then needs none of the
// registers that these calls would have it save and restore.
[[gnu::noinline]] void WritePassageItems(Flight f, char toCode, std::uint16_t place) {
    if (char* out = ItemSpace(FlightChar(f, 0), 4)) {
        out[0] = FlightChar(f, 4), out[1] = FlightChar(f, 5), out[2] = '0', out[3] = '0';
    }
    char text[8];
    std::memcpy(text, &f, 8);
    WriteItem('A', text, 8);
    if (char* out = ItemSpace(toCode, 4)) {
        std::memcpy(out, &place, 2);
        out[2] = FlightChar(f, 2), out[3] = FlightChar(f, 3);
    }
}

// A card's passage as the report gives it: its old place emptied
// ("<f>", its two digits, "00"), its flight ("<A>" and the flight), its new
// place filled ("<t>", the place's two digits, the card): 25 characters.
// Every card of a move writes them, so they go out as one run when they fit,
// as three words and a character cut from the flight.
inline void WritePassage(Flight f, char toCode, std::uint16_t place) {
    constexpr int kLength = 7 + 11 + 7;
    char* out = RunSpace(kLength);
    if (!out) return WritePassageItems(f, toCode, place);
    std::uint64_t words[3] = {
        Chars('<', 0) | (f & 0xFF) << 8 | Chars('>', 2) | (f >> 32 & 0xFFFF) << 24 |
            Chars('0', 5) | Chars('0', 6) | Chars('<', 7),
        Chars('A', 0) | Chars('>', 1) | f << 16,
        f >> 48 | Chars('<', 2) | Chars(std::uint8_t(toCode), 3) | Chars('>', 4) |
            std::uint64_t(place) << 40 | (f >> 16 & 0xFF) << 56};
    std::memcpy(out, words, sizeof words);
    out[24] = FlightChar(f, 3);
}

// The pause item: the delay digit of the settings.
void WriteDelay(const Game& g) {
    int delay = g.data.header.delay;
    if (delay < 10) {
        char digit = char('0' + delay);
        WriteItem('D', &digit, 1);
    } else {
        ItemText().Number(delay).Write('D');
    }
}

void CheckAllCards(Game& g) {
    int all =
        g.deck.AllCards() + g.curPlayer->AllCards() + g.OtherPlayer()->AllCards() + g.AllCards();
    KZQ_CHECK(52 == all,
              "52==deck.AllCards()+curPlayer->AllCards() +OtherPlayer()->AllCards()+AllCards()",
              1237);
#ifndef NDEBUG
    // What the piles and the stock keep about their cards still matches them.
    KZQ_CHECK(TalliesAgree(g), "TalliesAgree()", 1238);
#endif
}

}  // namespace

// From the middle column outwards on the mover's side first: the first
// player looks from the middle down to column 0 and then up from the middle,
// the second from the middle up and then down. Read from the occupied mask:
// the highest free column below a bound, or the lowest above it.
int FindFreeColumn(const Game& g) {
    int h = g.numColumns / 2;
    unsigned free = ~unsigned(g.piles.occupied) & ((1u << g.numColumns) - 1);
    auto highest = [](unsigned m) { return 31 - __builtin_clz(m); };
    auto lowest = [](unsigned m) { return __builtin_ctz(m); };
    if (g.CurIndex() == 0) {
        unsigned down = free & ((2u << h) - 1);  // columns h .. 0
        if (down != 0) return highest(down);
        if (unsigned up = free & ~down) return lowest(up);
    } else {
        unsigned up = free & ~((1u << h) - 1);  // columns h .. numColumns - 1
        if (up != 0) return lowest(up);
        if (unsigned down = free & ~up) return highest(down);
    }
    return -1;
}

// A move is reported as it is carried out: each card's passage is written
// when the card moves, from the places it leaves and reaches, rather than
// noted in a list and read back once the move is done. One passage waits:
// a Take reports the card that took last, after what it took (at the end
// pickup, which plays no card, the first card lifted waits instead).
void CarryOutMove(Game& g, Move move) {
    Player& p = *g.curPlayer;
    int s = MoveSlot(move);
    int n = g.CurIndex() + 1;
    int pilePlace = 2 + n;
    char pileCode = char('0' + pilePlace);
    Card card = p.hand.Take(s);
    ++g.moveNr;

    switch (MoveKindOf(move)) {
        case kBuild:
        case kBlock: {
            int c = FirstColumn(move);
            Stack& col = g.tableau[c];
            int height = col.numCards;
            Flight flight = MakeFlight(n, kTable, card, s, 0, c, height);
            col.Push(card);
            if (MoveKindOf(move) == kBlock) {
                col.isBlock = 1;
                col.value = card.rank;
            }
            g.NotePile(c);
            CheckAllCards(g);
            WritePassage(flight, '0', TablePlace(flight));
            ItemText().Number(c + 1).Char(ValueChar(col.LabelValue())).Write('T');
            break;
        }
        case kPut: {
            int c = FindFreeColumn(g);
            if (c >= 0) {
                g.tableau[c].Push(card);
                g.NotePile(c);
                CheckAllCards(g);
                Flight flight = MakeFlight(n, kTable, card, s, 0, c, 0);
                WritePassage(flight, '0', TablePlace(flight));
            } else {
                p.pile.Push(card);
                CheckAllCards(g);
                char text[4] = {'1', '1', 0, 0};
                CardText(card, text + 2);
                WriteItem('F', text, 4);
                WritePassage(MakeFlight(n, pilePlace, card, s, 0, 0, 0), pileCode, kPileFoot);
            }
            break;
        }
        case kTake: {
            Flight last = 0;
            bool waiting = false;
            int sweep = 1;
            if (g.moveNr <= kMovesPerRound) {
                last = MakeFlight(n, pilePlace, card, s, 0, 0, p.pile.numCards);
                waiting = true;
                p.pile.Push(card);
                g.lastTaker = std::uint8_t(g.CurIndex());
            } else {
                sweep = 0;  // the end pickup
            }
            const int columns = (1 << g.numColumns) - 1;
            for (int rest = MoveMask(move) & columns; rest != 0; rest = WithoutLowest(rest)) {
                int c = LowestColumn(rest);
                Stack& col = g.tableau[c];
                // Lifted top first: each flight names the card's height in
                // the column and the height it takes in the Capture Pile.
                for (int k = col.numCards - 1; k >= 0; --k) {
                    Card lifted = col.cards[k];
                    Flight passage = MakeFlight(kTable, pilePlace, lifted, c, k, 0, p.pile.numCards);
                    p.pile.Push(lifted);
                    if (waiting)
                        WritePassage(passage, pileCode, kPileFoot);
                    else
                        last = passage, waiting = true;
                }
                col.Clear();
            }
            g.piles.NoteEmptied(MoveMask(move) & columns);
            // A sweep leaves the table empty.
            p.sweeps += sweep && g.piles.occupied == 0;
            CheckAllCards(g);
            if (waiting) WritePassage(last, pileCode, kPileFoot);
            break;
        }
    }
    WriteItem('P', g.CurIndex() == 0 ? "2" : "1");
}

void EndPickup(Game& g) {
    g.curPlayer = &g.players[g.lastTaker];
    WriteDelay(g);
    CarryOutMove(g, kPickupMove);
    g.moveNr = kMovesPerRound;
}

void RevealMove(const Game& g, Card card, Move move) {
    WriteCardItem(char('1' + g.CurIndex()), MoveSlot(move), 0, card);
    WriteDelay(g);
}

void PlayMove(Game& g, Move move, Turn turn) {
    if (turn == Turn::kComputer) RevealMove(g, g.curPlayer->hand.slots[MoveSlot(move)], move);
    CarryOutMove(g, move);
    if (g.moveNr == kMovesPerRound && g.AllCards() != 0) EndPickup(g);
    // Neither the score lines nor the next deal depend on whose turn it is.
    g.curPlayer = g.OtherPlayer();
    ScoreLines(g);
    AfterMove(g);
}

}  // namespace kzq
