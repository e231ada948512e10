#include "apply.h"

#include "check.h"
#include "reply.h"

namespace kzq {

namespace {

// Places of a card movement, as the report gives them.
enum Place : std::uint8_t { kTable = 0, kHand1 = 1, kHand2 = 2, kPile1 = 3, kPile2 = 4 };

// One card's movement: its places, before and after, and the card.
struct CardMove {
    std::uint8_t from;
    std::uint8_t to;
    std::uint8_t rank;
    std::uint8_t suit;
    std::uint8_t fromIndex;
    std::uint8_t fromPos;
    std::uint8_t toIndex;
    std::uint8_t toPos;
};
static_assert(sizeof(CardMove) == 8);

CardMove MakeCardMove(int from, int to, Card c, int fromIndex, int fromPos, int toIndex,
                      int toPos) {
    return CardMove{std::uint8_t(from),
                    std::uint8_t(to),
                    c.rank,
                    c.suit,
                    std::uint8_t(fromIndex),
                    std::uint8_t(fromPos),
                    std::uint8_t(toIndex),
                    std::uint8_t(toPos)};
}

// The text of a flight item: from, to, the card, and the four positions.
void FlightText(const CardMove& r, char* out) {
    out[0] = char('0' + r.from);
    out[1] = char('0' + r.to);
    CardText(Card{r.rank, r.suit}, out + 2);
    out[4] = PosDigit(r.fromIndex);
    out[5] = PosDigit(r.fromPos);
    out[6] = PosDigit(r.toIndex);
    out[7] = PosDigit(r.toPos);
}

void WriteFlight(const CardMove& r) {
    char text[8];
    FlightText(r, text);
    WriteItem('A', text, 8);
}

// A card's passage item by item, each whole or not at all, near the end of
// the reply. Kept out of line: the usual case below then needs none of the
// registers that these calls would have it save and restore.
[[gnu::noinline]] void WritePassageItems(const CardMove& r, char toCode, int toIndex, int toPos) {
    WriteCardItem(char('0' + r.from), r.fromIndex, r.fromPos, Card{});
    WriteFlight(r);
    WriteCardItem(toCode, toIndex, toPos, Card{r.rank, r.suit});
}

// A card's passage as the report gives it: its old place emptied, its
// flight, its new place filled. Every card of a move writes these three
// items, so they go out as one run when they fit.
void WritePassage(const CardMove& r, char toCode, int toIndex, int toPos) {
    constexpr int kLength = 7 + 11 + 7;
    char* out = RunSpace(kLength);
    if (!out) return WritePassageItems(r, toCode, toIndex, toPos);
    // Written in place, character by character: the three items share the
    // card's text and the old place's digits.
    char from = char('0' + r.from);
    char fromIndex = PosDigit(r.fromIndex), fromPos = PosDigit(r.fromPos);
    const char* card = EntryOf(Card{r.rank, r.suit}).text;
    out[0] = '<', out[1] = from, out[2] = '>';
    out[3] = fromIndex, out[4] = fromPos, out[5] = '0', out[6] = '0';
    out[7] = '<', out[8] = 'A', out[9] = '>';
    out[10] = from, out[11] = char('0' + r.to), out[12] = card[0], out[13] = card[1];
    out[14] = fromIndex, out[15] = fromPos;
    out[16] = PosDigit(r.toIndex), out[17] = PosDigit(r.toPos);
    out[18] = '<', out[19] = toCode, out[20] = '>';
    // The new place is a column or a pile and a height, never negative: its
    // digits come from the table as the noted places' do.
    out[21] = PosDigit(std::uint8_t(toIndex)), out[22] = PosDigit(std::uint8_t(toPos));
    out[23] = card[0], out[24] = card[1];
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
            CardMove passage = MakeCardMove(n, kTable, card, s, 0, c, col.numCards);
            col.Push(card);
            if (MoveKindOf(move) == kBlock) {
                col.isBlock = 1;
                col.value = card.rank;
            }
            g.NotePile(c);
            CheckAllCards(g);
            WritePassage(passage, '0', c, passage.toPos);
            ItemText().Number(c + 1).Char(ValueChar(col.LabelValue())).Write('T');
            break;
        }
        case kPut: {
            int c = FindFreeColumn(g);
            if (c >= 0) {
                g.tableau[c].Push(card);
                g.NotePile(c);
                CheckAllCards(g);
                WritePassage(MakeCardMove(n, kTable, card, s, 0, c, 0), '0', c, 0);
            } else {
                p.pile.Push(card);
                CheckAllCards(g);
                char text[4] = {'1', '1', 0, 0};
                CardText(card, text + 2);
                WriteItem('F', text, 4);
                WritePassage(MakeCardMove(n, pilePlace, card, s, 0, 0, 0), pileCode, 0, 0);
            }
            break;
        }
        case kTake: {
            CardMove last{};
            bool waiting = false;
            int sweep = 1;
            if (g.moveNr <= kMovesPerRound) {
                last = MakeCardMove(n, pilePlace, card, s, 0, 0, p.pile.numCards);
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
                Card lifted;
                while (col.Pop(lifted)) {
                    CardMove passage = MakeCardMove(kTable, pilePlace, lifted, c, col.numCards, 0,
                                                    p.pile.numCards);
                    p.pile.Push(lifted);
                    if (waiting)
                        WritePassage(passage, pileCode, 0, 0);
                    else
                        last = passage, waiting = true;
                }
                col.isBlock = 0;
            }
            g.piles.NoteEmptied(MoveMask(move) & columns);
            // A sweep leaves the table empty.
            p.sweeps += sweep && g.piles.occupied == 0;
            CheckAllCards(g);
            if (waiting) WritePassage(last, pileCode, 0, 0);
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
