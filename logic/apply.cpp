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
static_assert(std::endian::native == std::endian::little, "digit pairs are copied out as they lie");
inline std::uint16_t At(int index, int pos) {
    return std::uint16_t(PosDigit(std::uint8_t(index)) | PosDigit(std::uint8_t(pos)) << 8);
}
// The two digits of a card's new place in a Capture Pile: every card of a
// pile is shown at its foot.
constexpr std::uint16_t kPileFoot = '1' | '1' << 8;

// A card's passage as the report gives it, 25 characters in three items: its
// old place emptied ("<f>", the place's two digits, "00"), its flight ("<A>",
// from and to, the card, the old and the new place's digits), its new place
// filled ("<t>", the place's two digits, the card). What the passages of one
// move share (the places, their codes) is laid out once as the move's frame;
// each card's passage is the frame with the card and its digits written over
// it, and goes out as one run when it fits.
struct PassageFrame {
    char text[24];

    PassageFrame(int from, int to, char toCode) {
        // The card's own characters ('.') are written over it by each card.
        std::memcpy(text, "<?>..00<A>??......<?>...", sizeof text);
        text[1] = text[10] = char('0' + from);
        text[11] = char('0' + to);
        text[19] = toCode;
    }
};

// What one card adds to the frame: the card, the flight's digits (`fromAt`,
// `toAt`, At) and the new place's own (`place`: the column and height on the
// table, the foot of a pile).
struct PassageCard {
    Card card;
    std::uint16_t fromAt;
    std::uint16_t toAt;
    std::uint16_t place;
};

// The 25 characters of a passage.
inline void PassageText(const PassageFrame& frame, const PassageCard& p, char* out) {
    const char* card = EntryOf(p.card).text;
    std::memcpy(out, frame.text, sizeof frame.text);
    std::memcpy(out + 3, &p.fromAt, 2);
    std::memcpy(out + 12, card, 2);
    std::memcpy(out + 14, &p.fromAt, 2);
    std::memcpy(out + 16, &p.toAt, 2);
    std::memcpy(out + 21, &p.place, 2);
    std::memcpy(out + 23, card, 2);
}

// The passage item by item, each whole or not at all, near the end of the
// reply. Kept out of line: the usual case below then needs none of the
// registers that these calls would have it save and restore.
[[gnu::noinline]] void WritePassageItems(const PassageFrame& frame, const PassageCard& p) {
    char text[25];
    PassageText(frame, p, text);
    WriteItem(text[1], text + 3, 4);
    WriteItem('A', text + 10, 8);
    WriteItem(text[19], text + 21, 4);
}

inline void WritePassage(const PassageFrame& frame, const PassageCard& p) {
    if (char* out = RunSpace(25))
        PassageText(frame, p, out);
    else
        WritePassageItems(frame, p);
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
    int all = g.deck.AllCards() + g.players[0].AllCards() + g.players[1].AllCards() + g.AllCards();
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
            std::uint16_t to = At(c, height);
            PassageCard passage{card, At(s, 0), to, to};
            col.Push(card);
            if (MoveKindOf(move) == kBlock) {
                col.isBlock = 1;
                col.value = card.rank;
            }
            g.NotePile(c);
            CheckAllCards(g);
            WritePassage(PassageFrame(n, kTable, '0'), passage);
            ItemText().Number(c + 1).Char(ValueChar(col.LabelValue())).Write('T');
            break;
        }
        case kPut: {
            int c = FindFreeColumn(g);
            if (c >= 0) {
                g.tableau[c].Push(card);
                g.NotePile(c);
                CheckAllCards(g);
                std::uint16_t to = At(c, 0);
                WritePassage(PassageFrame(n, kTable, '0'), PassageCard{card, At(s, 0), to, to});
            } else {
                p.pile.Push(card);
                CheckAllCards(g);
                char text[4] = {'1', '1', 0, 0};
                CardText(card, text + 2);
                WriteItem('F', text, 4);
                WritePassage(PassageFrame(n, pilePlace, pileCode),
                             PassageCard{card, At(s, 0), At(0, 0), kPileFoot});
            }
            break;
        }
        case kTake: {
            // The frames of the card played and of the cards lifted.
            const PassageFrame played(n, pilePlace, pileCode), lift(kTable, pilePlace, pileCode);
            const PassageFrame* lastFrame = &played;
            PassageCard last{};
            bool waiting = false;
            int sweep = 1;
            if (g.moveNr <= kMovesPerRound) {
                last = PassageCard{card, At(s, 0), At(0, p.pile.numCards), kPileFoot};
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
                    PassageCard passage{lifted, At(c, k), At(0, p.pile.numCards), kPileFoot};
                    p.pile.Push(lifted);
                    if (waiting)
                        WritePassage(lift, passage);
                    else
                        last = passage, lastFrame = &lift, waiting = true;
                }
                col.Clear();
            }
            g.piles.NoteEmptied(MoveMask(move) & columns);
            // A sweep leaves the table empty.
            p.sweeps += sweep && g.piles.occupied == 0;
            CheckAllCards(g);
            if (waiting) WritePassage(*lastFrame, last);
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
