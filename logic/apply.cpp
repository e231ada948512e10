#include "apply.h"

#include <bit>
#include <cstring>

#include "check.h"
#include "reply.h"

namespace kzq {

namespace {

// Places of a card movement, as the report gives them.
enum Place : std::uint8_t { kTable = 0, kHand1 = 1, kHand2 = 2, kPile1 = 3, kPile2 = 4 };

// Two position digits as they lie in the text, the first in the lower byte.
inline std::uint16_t At(int index, int pos) {
    return std::uint16_t(PosDigit(std::uint8_t(index)) | PosDigit(std::uint8_t(pos)) << 8);
}
// The two digits of a card's new place in a Capture Pile: every card of a
// pile is shown at its foot.
constexpr std::uint16_t kPileFoot = '1' | '1' << 8;

// A card's passage as the report gives it, 25 characters in three items: its
// old place emptied ("<f>", the place's two digits, "00"), its flight ("<A>",
// from and to, the card, the old and the new place's digits), its new place
// filled ("<t>", the place's two digits, the card). The items repeat the
// card and the digits, so the text is built from them once, as the card
// moves, as three words and a character (the first character of a word in
// its lowest byte), and goes out as one run when it fits.
struct Passage {
    std::uint64_t words[3];
    char last;
};
static_assert(std::endian::native == std::endian::little, "a passage is written out as it lies");

constexpr std::uint64_t Chars(std::uint64_t piece, int at) {
    return piece << (8 * at);
}

// `fromAt` and `toAt` are the flight's digits (At); `place` the new place's
// own digits: the column and height on the table, the foot of a pile.
inline Passage MakePassage(int from, int to, Card c, std::uint16_t fromAt, std::uint16_t toAt,
                           char toCode, std::uint16_t place) {
    std::uint16_t card;
    std::memcpy(&card, EntryOf(c).text, 2);
    std::uint64_t fromChar = std::uint8_t('0' + from), toChar = std::uint8_t('0' + to);
    return Passage{{Chars('<', 0) | Chars(fromChar, 1) | Chars('>', 2) | Chars(fromAt, 3) |
                        Chars('0', 5) | Chars('0', 6) | Chars('<', 7),
                    Chars('A', 0) | Chars('>', 1) | Chars(fromChar, 2) | Chars(toChar, 3) |
                        Chars(card, 4) | Chars(fromAt, 6),
                    Chars(toAt, 0) | Chars('<', 2) | Chars(std::uint8_t(toCode), 3) |
                        Chars('>', 4) | Chars(place, 5) | Chars(card & 0xFF, 7)},
                   char(card >> 8)};
}

// The passage item by item, each whole or not at all, near the end of the
// reply. Kept out of line: the usual case below then needs none of the
// registers that these calls would have it save and restore.
[[gnu::noinline]] void WritePassageItems(const Passage& passage) {
    char text[25];
    std::memcpy(text, passage.words, 24);
    text[24] = passage.last;
    WriteItem(text[1], text + 3, 4);
    WriteItem('A', text + 10, 8);
    WriteItem(text[19], text + 21, 4);
}

inline void WritePassage(const Passage& passage) {
    char* out = RunSpace(25);
    if (!out) return WritePassageItems(passage);
    std::memcpy(out, passage.words, 24);
    out[24] = passage.last;
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
        g.deck.AllCards() + g.players[0].AllCards() + g.players[1].AllCards() + g.AllCards();
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
            Passage passage = MakePassage(n, kTable, card, At(s, 0), At(c, height), '0', At(c, height));
            col.Push(card);
            if (MoveKindOf(move) == kBlock) {
                col.isBlock = 1;
                col.value = card.rank;
            }
            g.NotePile(c);
            CheckAllCards(g);
            WritePassage(passage);
            ItemText().Number(c + 1).Char(ValueChar(col.LabelValue())).Write('T');
            break;
        }
        case kPut: {
            int c = FindFreeColumn(g);
            if (c >= 0) {
                g.tableau[c].Push(card);
                g.NotePile(c);
                CheckAllCards(g);
                WritePassage(MakePassage(n, kTable, card, At(s, 0), At(c, 0), '0', At(c, 0)));
            } else {
                p.pile.Push(card);
                CheckAllCards(g);
                char text[4] = {'1', '1', 0, 0};
                CardText(card, text + 2);
                WriteItem('F', text, 4);
                WritePassage(
                    MakePassage(n, pilePlace, card, At(s, 0), At(0, 0), pileCode, kPileFoot));
            }
            break;
        }
        case kTake: {
            Passage last{};
            bool waiting = false;
            int sweep = 1;
            if (g.moveNr <= kMovesPerRound) {
                last = MakePassage(n, pilePlace, card, At(s, 0), At(0, p.pile.numCards), pileCode,
                                   kPileFoot);
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
                    Passage passage = MakePassage(kTable, pilePlace, lifted, At(c, k),
                                                  At(0, p.pile.numCards), pileCode, kPileFoot);
                    p.pile.Push(lifted);
                    if (waiting)
                        WritePassage(passage);
                    else
                        last = passage, waiting = true;
                }
                col.Clear();
            }
            g.piles.NoteEmptied(MoveMask(move) & columns);
            // A sweep leaves the table empty.
            p.sweeps += sweep && g.piles.occupied == 0;
            CheckAllCards(g);
            if (waiting) WritePassage(last);
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

// The card shown and the pause after it go out as one run of 11 characters
// when the delay is one digit and they fit, as every computer move writes
// them; otherwise each whole or not at all.
void RevealMove(const Game& g, Card card, Move move) {
    unsigned delay = g.data.header.delay;
    char* out = delay < 10 ? RunSpace(7 + 4) : nullptr;
    if (!out) {
        WriteCardItem(char('1' + g.CurIndex()), MoveSlot(move), 0, card);
        return WriteDelay(g);
    }
    out[0] = '<', out[1] = char('1' + g.CurIndex()), out[2] = '>';
    out[3] = PosDigit(std::uint8_t(MoveSlot(move))), out[4] = '1';
    CardText(card, out + 5);
    out[7] = '<', out[8] = 'D', out[9] = '>', out[10] = char('0' + delay);
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
