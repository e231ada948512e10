#include "game.h"

#include "check.h"
#include "deals.h"
#include "reply.h"

namespace kzq {

void RecomputeHidden(Game& g) {
    bool computer1 = g.players[0].level != 0, computer2 = g.players[1].level != 0;
    g.players[0].hidden = computer1 && !computer2;
    g.players[1].hidden = computer2 && !computer1;
}

namespace {

// Empties the table, the hands and the Capture Piles, and the sweeps of the
// round. The columns are emptied in one run of stores rather than a call per
// column, and the table's summary becomes that of an empty table, which
// needs no count of the columns.
void ClearRound(Game& g) {
    for (Stack& s : g.tableau)
        s = Stack{};
    g.piles = Piles{};
    for (Player& p : g.players) {
        p.pile.Clear();
        p.sweeps = 0;
        p.hand.Clear();
    }
}

}  // namespace

void DiscardRound(Game& g) {
    ClearRound(g);
    g.deck.Clear();
    g.moveNr = 0;
    g.numMoves = 0;
}

void NewGame(Game& g, RandomSource& random, int gameNumber) {
    for (Player& p : g.players)
        p.points = 0;
    NewRound(g, random, gameNumber);
}

void NewRound(Game& g, RandomSource& random, int gameNumber) {
    ClearRound(g);
    Deal(g, random, gameNumber);
    g.curPlayer = &g.players[g.starter];
    WriteItem('P', g.starter == 0 ? "1" : "2");
    g.moveNr = 0;
}

void Deal(Game& g, RandomSource& random, int gameNumber) {
    if (!LoadNumberedDeal(g.deck, gameNumber)) {
        g.deck.Fill();
        g.deck.Shuffle(random);
    }
    KZQ_CHECK(kMaxHand * 2 == PlayersDeal(g), "kMaxHand*2==PlayersDeal()", 1122);
    TableauDeal(g);
}

namespace {

// A full deal's eight card items: player, slot, place and card. All but the
// cards' two characters each (the dots) are the same in every deal.
constexpr char kDealRun[] = "<1>11..<2>11..<1>21..<2>21..<1>31..<2>31..<1>41..<2>41..";
constexpr int kDealItem = 3 + 4;
static_assert(sizeof kDealRun - 1 == kMaxHand * kPlayers * kDealItem);

}  // namespace

// A full deal's eight card items go out as one run when the stock holds them
// all and they fit, instead of asking for room item by item: the run is laid
// out from its fixed text with the cards filled in, in a buffer of its own
// (writes into the reply could touch the game, as far as the compiler knows,
// so that it would read the stock and the players again after every
// character), and copied into the reply whole. Otherwise each item goes out
// whole or not at all, as far as the stock reaches.
int PlayersDeal(Game& g) {
    char* out = g.deck.numCards >= kMaxHand * kPlayers ? RunSpace(sizeof kDealRun - 1) : nullptr;
    if (out) {
        char run[sizeof kDealRun - 1];
        std::memcpy(run, kDealRun, sizeof run);
        const Card back = g.BackCard();
        const bool hidden[kPlayers] = {g.players[0].hidden != 0, g.players[1].hidden != 0};
        for (int slot = 0; slot < kMaxHand; ++slot) {
            for (int which = 0; which < kPlayers; ++which) {
                Card c;
                g.deck.Pop(c);
                g.players[which].hand.Set(c, slot);
                Card shown = c;
                if (hidden[which]) shown = back;
                CardText(shown, run + (slot * kPlayers + which) * kDealItem + 5);
            }
        }
        std::memcpy(out, run, sizeof run);
        return kMaxHand * 2;
    }
    for (int slot = 0; slot < kMaxHand; ++slot) {
        for (int which = 0; which < kPlayers; ++which) {
            Player& p = g.players[which];
            Card c;
            if (!g.deck.Pop(c)) return 0;
            p.hand.Set(c, slot);
            WriteCardItem(char('1' + which), slot, 0, p.hidden ? g.BackCard() : c);
        }
    }
    return kMaxHand * 2;
}

void TableauDeal(Game& g) {
    constexpr int kTableauCards = 4;  // face up, from the middle columns outwards
    int h = g.numColumns / 2;
    int c = h, lo = h - 1, hi = h;
    for (int k = 0; k < kTableauCards; ++k) {
        KZQ_CHECK(c < g.numColumns, "c<numColumns", 1102);
        KZQ_CHECK(c >= 0, "c>=0", 1103);
        Card card;
        g.deck.Pop(card);
        g.tableau[c].Push(card);
        g.NotePile(c);
        WriteCardItem('0', c, 0, card);
        if (c == lo) {
            ++hi;
            c = hi;
            --lo;
        } else {
            c = lo;
        }
    }
}

namespace {

// The points of a Capture Pile with its tally, and of the round's sweeps.
int Points(const Deck& pile, int sweeps) {
    const DeckTally& k = pile.tally;
    return k.Aces() + (k.TwoOfSpades() != 0) + 2 * (k.TenOfDiamonds() != 0) + sweeps +
           (k.Spades() >= 7 ? 1 : 0) + (pile.numCards >= 27 ? 3 : 0);
}

}  // namespace

int RoundPoints(const Player& p) {
    return Points(p.pile, p.sweeps);
}

void EndRound(Game& g) {
    Player& p1 = g.players[0];
    Player& p2 = g.players[1];
    p1.points += RoundPoints(p1);
    p2.points += RoundPoints(p2);
    int winner = -1;
    if (p1.points >= kWinningTotal && p1.points > p2.points)
        winner = 0;
    else if (p2.points >= kWinningTotal && p2.points > p1.points)
        winner = 1;
    if (winner >= 0)
        RecordGame(g.data, winner, g.players[winner].points, g.players[1 - winner].points);
    if (unsigned(p1.points) < 100u && unsigned(p2.points) < 100u) {
        char text[6];
        TwoDigits(winner + 50, text);
        TwoDigits(p1.points, text + 2);
        TwoDigits(p2.points, text + 4);
        WriteItem('M', text, 6);
    } else {
        WriteItemf('M', "%02d%02d%02d", winner + 50, p1.points, p2.points);
    }
    p1.pile.Clear();
    p2.pile.Clear();
    g.starter = std::uint8_t(1 - g.starter);
}

namespace {

// The score line in its usual widths after the player's digit ("1" or "2"):
// the aces, the 2 of spades and the 10 of diamonds in one digit each, then
// sweeps, spades, cards and points in two digits each, 11 characters. False
// for counts beyond them (only the debugging request J can bring them
// about). A pile holds at most 52 cards, so its cards and spades always take
// two digits.
bool ShortScoreLine(const Player& p, char* out) {
    const DeckTally& k = p.pile.tally;
    int aces = k.Aces(), two = k.TwoOfSpades() != 0, ten = k.TenOfDiamonds() != 0;
    int spades = k.Spades(), cards = p.pile.numCards, sweeps = p.sweeps;
    int points = Points(p.pile, sweeps);
    if (aces >= 10 || unsigned(sweeps) >= 100u || unsigned(points) >= 100u) return false;
    out[1] = char('0' + aces);
    out[2] = char('0' + two);
    out[3] = char('0' + ten);
    TwoDigits(sweeps, out + 4);
    TwoDigits(spades, out + 6);
    TwoDigits(cards, out + 8);
    TwoDigits(points, out + 10);
    return true;
}

// The unseen cards, the stock and the hands of computer players, as rank
// masks by suit (DeckTally::ranks).
std::uint64_t UnseenRanks(const Game& g) {
    std::uint64_t ranks = g.deck.tally.ranks;
    for (const Player& p : g.players)
        ranks |= p.level != 0 ? p.hand.cardBits : 0;
    return ranks;
}

// The unseen cards of each suit (index 1 to 4) as rank masks.
void UnseenMasks(const Game& g, int masks[5]) {
    DeckTally unseen;
    unseen.ranks = UnseenRanks(g);
    for (int s = kClubs; s <= kSpades; ++s)
        masks[s] = unseen.RankMask(s);
}

// The four digits of every 13-bit rank mask, laid out once: the unseen
// cards of some suit change after nearly every move, and a look-up costs
// less than the division into hundreds that it replaces.
struct MaskDigits {
    char text[1 << 13][4];
};
constexpr MaskDigits MakeMaskDigits() {
    MaskDigits t{};
    for (int mask = 0; mask < (1 << 13); ++mask)
        for (int i = 3, v = mask; i >= 0; --i, v /= 10)
            t.text[mask][i] = char('0' + v % 10);
    return t;
}
constexpr MaskDigits kMaskDigits = MakeMaskDigits();

// A rank mask's four digits.
void MaskText(unsigned mask, char* out) {
    std::memcpy(out, kMaskDigits.text[mask & 0x1FFF], 4);
}

// The suit letter and the 13-bit rank mask in four digits: 5 characters.
void UnseenText(int suit, int mask, char* out) {
    out[0] = ".cdhs"[suit];
    MaskText(unsigned(mask), out + 1);
}

}  // namespace

void ScoreLine(const Game& g, int which) {
    char text[12];
    text[0] = char('1' + which);
    if (ShortScoreLine(g.players[which], text)) {
        WriteItem('G', text, 12);
        return;
    }
    const Player& p = g.players[which];
    const DeckTally& k = p.pile.tally;
    ItemText()
        .Number(which + 1)
        .Number(k.Aces())
        .Number(k.TwoOfSpades() != 0)
        .Number(k.TenOfDiamonds() != 0)
        .Number(p.sweeps, 2)
        .Number(k.Spades(), 2)
        .Number(p.pile.numCards, 2)
        .Number(Points(p.pile, p.sweeps), 2)
        .Write('G');
}

void UnseenCards(const Game& g) {
    int masks[5];
    UnseenMasks(g, masks);
    for (int s = kClubs; s <= kSpades; ++s) {
        char text[5];
        UnseenText(s, masks[s], text);
        WriteItem('U', text, 5);
    }
}

bool TalliesAgree(const Game& g) {
    return g.piles == Piles::Recount(g.tableau, g.numColumns) &&
           g.players[0].hand.cardBits == g.players[0].hand.Recount() &&
           g.players[1].hand.cardBits == g.players[1].hand.Recount() &&
           g.players[0].hand.occupied == g.players[0].hand.RecountOccupied() &&
           g.players[1].hand.occupied == g.players[1].hand.RecountOccupied() &&
           g.deck.tally == g.deck.Recount() &&
           g.players[0].pile.tally == g.players[0].pile.Recount() &&
           g.players[1].pile.tally == g.players[1].pile.Recount();
}

// Every move writes these six items: usually as one copy of the kept text,
// each part written again only when what it shows changed (ScoreItems); one
// by one (each whole or not at all) near the end of the reply or with a score
// line in its longer form.
void ScoreLines(Game& g) {
    ScoreItems& kept = g.scoreItems;
    for (int which = 0; which < kPlayers; ++which) {
        if (kept.counts[which].Match(g.players[which])) continue;
        kept.counts[which] = ScoreCounts::Of(g.players[which]);
        char* line = kept.text + which * ScoreItems::kLineItem + 3;
        if (ShortScoreLine(g.players[which], line))
            kept.longLines &= ~(1 << which);
        else
            kept.longLines |= 1 << which;
    }
    // The four suits' unseen cards are written again every time: four
    // look-ups cost about as much as finding the suits that changed, and leave
    // the processor no branches to guess.
    std::uint64_t unseen = UnseenRanks(g);
    char* unseenItems = kept.text + kPlayers * ScoreItems::kLineItem;
    for (int s = 0; s < 4; ++s)
        MaskText(unsigned(unseen >> 16 * s), unseenItems + s * ScoreItems::kUnseenItem + 4);
    if (kept.longLines == 0) {
        if (char* out = RunSpace(ScoreItems::kLength)) {
            std::memcpy(out, kept.text, ScoreItems::kLength);
            return;
        }
    }
    ScoreLine(g, 0);
    ScoreLine(g, 1);
    UnseenCards(g);
}

}  // namespace kzq
