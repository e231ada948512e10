#include "apply.h"

#include "check.h"
#include "reply.h"

namespace kzq {

namespace {

void PushCardMove(Game& g, CardMove m) {
    KZQ_CHECK(g.curMoveStack < kMaxMoveStack - 1, "curMoveStack < moveStack+kMaxMoveStack-1", 1136);
    g.moveStack[g.curMoveStack++] = m;
}

// The one card movement of a Put or a Build, taken off the list.
CardMove PopCardMove(Game& g, int checkNumber) {
    KZQ_CHECK(g.curMoveStack > 0, "Pop(r)", checkNumber);
    return g.moveStack[--g.curMoveStack];
}

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

// A card's passage as the report gives it: its old place emptied, its
// flight, its new place filled. Every card of a move writes these three
// items, so they go out as one run when they fit; near the end of the reply,
// one by one, each whole or not at all.
void WritePassage(const CardMove& r, char toCode, int toIndex, int toPos) {
    constexpr int kLength = 7 + 11 + 7;
    char from = char('0' + r.from);
    if (char* out = RunSpace(kLength)) {
        char* flight = out + 7;
        flight[0] = '<', flight[1] = 'A', flight[2] = '>';
        FlightText(r, flight + 3);
        const char emptied[7] = {'<', from, '>', flight[7], flight[8], '0', '0'};
        const char filled[7] = {'<',       toCode,   '>', PosDigit(toIndex), PosDigit(toPos),
                                flight[5], flight[6]};
        std::memcpy(out, emptied, 7);
        std::memcpy(out + 18, filled, 7);
        return;
    }
    WriteCardItem(from, r.fromIndex, r.fromPos, Card{});
    WriteFlight(r);
    WriteCardItem(toCode, toIndex, toPos, Card{r.rank, r.suit});
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

Card ApplyMove(Game& g, Move& move) {
    Player& p = *g.curPlayer;
    int s = MoveSlot(move);
    int n = g.CurIndex() + 1;
    int pilePlace = 2 + n;
    Card card = p.hand.Take(s);
    ++g.moveNr;

    switch (MoveKindOf(move)) {
        case kBuild:
        case kBlock: {
            int c = FirstColumn(move);
            Stack& col = g.tableau[c];
            PushCardMove(g, MakeCardMove(n, kTable, card, s, 0, c, col.numCards));
            col.Push(card);
            if (MoveKindOf(move) == kBlock) {
                col.isBlock = 1;
                col.value = card.rank;
            }
            g.NotePile(c);
            break;
        }
        case kPut: {
            int c = FindFreeColumn(g);
            move = MakeMove(c >= 0 ? 1 << c : 0, kPut, s);
            if (c >= 0) {
                g.tableau[c].Push(card);
                g.NotePile(c);
                PushCardMove(g, MakeCardMove(n, kTable, card, s, 0, c, 0));
            } else {
                p.pile.Push(card);
                PushCardMove(g, MakeCardMove(n, pilePlace, card, s, 0, 0, 0));
            }
            break;
        }
        case kTake: {
            int sweep = 1;
            if (g.moveNr <= kMovesPerRound) {
                PushCardMove(g, MakeCardMove(n, pilePlace, card, s, 0, 0, p.pile.numCards));
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
                    PushCardMove(g, MakeCardMove(kTable, pilePlace, lifted, c, col.numCards, 0,
                                                 p.pile.numCards));
                    p.pile.Push(lifted);
                }
                col.isBlock = 0;
            }
            g.piles.NoteEmptied(MoveMask(move) & columns);
            // A sweep leaves the table empty.
            p.sweeps += sweep && g.piles.occupied == 0;
            break;
        }
    }
    CheckAllCards(g);
    return card;
}

void ReportMove(Game& g, Card card, Move move) {
    char pileCode = char('3' + g.CurIndex());
    switch (MoveKindOf(move)) {
        case kPut:
            if (MoveMask(move) != 0) {
                WritePassage(PopCardMove(g, 1270), '0', FirstColumn(move), 0);
            } else {
                char text[4] = {'1', '1', 0, 0};
                CardText(card, text + 2);
                WriteItem('F', text, 4);
                WritePassage(PopCardMove(g, 1277), pileCode, 0, 0);
            }
            break;
        case kBuild:
        case kBlock: {
            int c = FirstColumn(move);
            const Stack& col = g.tableau[c];
            WritePassage(PopCardMove(g, 1294), '0', c, col.numCards - 1);
            ItemText().Number(c + 1).Char(ValueChar(col.LabelValue())).Write('T');
            break;
        }
        case kTake:
            // The cards lifted, in the order they were noted, and the first
            // noted last: the card played goes to the pile after what it took.
            for (int i = 1; i < g.curMoveStack; ++i)
                WritePassage(g.moveStack[i], pileCode, 0, 0);
            if (g.curMoveStack > 0) WritePassage(g.moveStack[0], pileCode, 0, 0);
            g.curMoveStack = 0;
            break;
    }
    WriteItem('P', g.CurIndex() == 0 ? "2" : "1");
}

void EndPickup(Game& g) {
    Move move = kPickupMove;
    g.curPlayer = &g.players[g.lastTaker];
    Card card = ApplyMove(g, move);
    WriteDelay(g);
    ReportMove(g, card, move);
    g.moveNr = kMovesPerRound;
}

void RevealMove(const Game& g, Card card, Move move) {
    WriteCardItem(char('1' + g.CurIndex()), MoveSlot(move), 0, card);
    WriteDelay(g);
}

void PlayMove(Game& g, Move move, Turn turn) {
    Card card = ApplyMove(g, move);
    if (turn == Turn::kComputer) RevealMove(g, card, move);
    ReportMove(g, card, move);
    if (g.moveNr == kMovesPerRound && g.AllCards() != 0) EndPickup(g);
    // Neither the score lines nor the next deal depend on whose turn it is.
    g.curPlayer = g.OtherPlayer();
    ScoreLines(g);
    AfterMove(g);
}

}  // namespace kzq
