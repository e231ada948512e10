#include "mirror.h"

#include <bit>
#include <string>

#include "reply_reader.h"

namespace sim {

namespace {

constexpr int kMovesPerRound = 48;
char HandCode(int player) {
    return char('1' + player);
}
// The player item naming `player` as the one to move.
std::string_view PlayerText(int player) {
    return std::string_view("12" + player, 1);
}
char PileCode(int player) {
    return char('3' + player);
}

// A small number as the library writes it: -1 "0", 0 "1", ... 8 and more "9".
char PosDigit(int v) {
    if (v < -1) v = -1;
    if (v > 8) v = 8;
    return char('1' + v);
}

char RankChar(int rank) {
    return "0A23456789TJQK"[rank];
}
char SuitChar(int suit) {
    return "0cdhs"[suit];
}
char ValueChar(int value) {
    return "-A23456789TJQKA"[value];
}

void CardChars(Card c, char* out) {
    out[0] = RankChar(c.rank);
    out[1] = SuitChar(c.suit);
}

std::uint64_t Bit(Card c) {
    return std::uint64_t(1) << c.Index();
}

// Rank mask of the unseen-cards item: 2 is bit 0 ... king bit 11, ace bit 12.
int RankBit(int rank) {
    return 1 << ((rank == 1 ? 14 : rank) - 2);
}

// Writes v in decimal, zero-padded to `width` ("%0*d" for v >= 0), at
// out[n]; returns the new length.
int PutNumberLong(char* out, int n, int v, int width) {
    char buf[12];
    int k = 0;
    do {
        buf[k++] = char('0' + v % 10);
        v /= 10;
    } while (v > 0);
    while (k < width)
        buf[k++] = '0';
    while (k > 0)
        out[n++] = buf[--k];
    return n;
}

// The same, two digits at a time for the numbers of every reply.
inline int PutNumber(char* out, int n, int v, int width) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    if (width == 2 && unsigned(v) < 100u) {  // score lines
        out[n] = kPairs[2 * v];
        out[n + 1] = kPairs[2 * v + 1];
        return n + 2;
    }
    if (width == 4 && unsigned(v) < 10000u) {  // unseen-cards masks
        int hi = v / 100, lo = v % 100;
        out[n] = kPairs[2 * hi];
        out[n + 1] = kPairs[2 * hi + 1];
        out[n + 2] = kPairs[2 * lo];
        out[n + 3] = kPairs[2 * lo + 1];
        return n + 4;
    }
    return PutNumberLong(out, n, v, width);
}

// The aces (bits 0, 13, 26, 39: Card::Index) and the spades (bits 39 to 51)
// of a pile, counted in place: a portable build has no popcount instruction,
// and the library call would be most of the count.
int Aces(std::uint64_t pile) {
    return int((pile & 1) + (pile >> 13 & 1) + (pile >> 26 & 1) + (pile >> 39 & 1));
}
int Spades(std::uint64_t pile) {
    unsigned v = unsigned(pile >> 39) & 0x1FFF;
    v = v - (v >> 1 & 0x5555);
    v = (v & 0x3333) + (v >> 2 & 0x3333);
    v = (v + (v >> 4)) & 0x0F0F;
    return int((v + (v >> 8)) & 0x1F);
}

}  // namespace

int PilePoints(std::uint64_t pile, int count) {
    int points = Aces(pile);  // each ace
    if (pile & Bit(Card{2, 4})) points += 1;
    if (pile & Bit(Card{10, 2})) points += 2;
    if (Spades(pile) >= 7) points += 1;
    if (count >= 27) points += 3;
    return points;
}

Mirror::Mirror(int numColumns) : numColumns_(numColumns) {}

// ---- Requests ---------------------------------------------------------------

Next Mirror::NewGame(std::string_view reply) {
    Reader r(reply, signature_);
    points_[0] = points_[1] = 0;
    StartRound(r);
    r.Expect('P', PlayerText(starter_));
    r.End();
    return Next::kMove;
}

Next Mirror::NewRound(std::string_view reply) {
    if (inRound_) throw Broken("a new round was asked for while a round is in play");
    Reader r(reply, signature_);
    StartRound(r);
    r.Expect('P', PlayerText(starter_));
    r.Expect('P', PlayerText(starter_));
    ScoreLines(r);
    r.End();
    return Next::kMove;
}

Next Mirror::Move(std::string_view reply) {
    if (!inRound_) throw Broken("a move was asked for outside a round");
    Reader r(reply, signature_);
    int mover = cur_;

    // The computer shows its card, then pauses.
    Item reveal = r.Take(HandCode(mover), 4);
    int slot = r.ParseDigit(reveal.text[0]) - 1;
    if (slot < 0 || slot > 3 || reveal.text[1] != '1') r.Fail("bad hand position in the reveal");
    Card card = r.ParseCard(reveal.text.substr(2));
    if (card.Empty() || !(hands_[mover][slot] == card))
        r.Fail("the revealed card is not the card in that hand slot");
    r.Take('D', 1);

    ++moveNr_;
    ++totals_.moves;
    if (moveNr_ > kMovesPerRound) r.Fail("a round's 49th move");
    char first = r.PeekCode();
    if (first == 'F')
        PlayPutToPile(r, slot, card);
    else if (first == HandCode(mover))
        PlayPutOrBuild(r, slot, card);
    else if (first == '0')
        PlayTake(r, slot, card);
    else
        r.Fail("expected the first item of a move");
    r.Expect('P', PlayerText(1 - mover));

    int next = 1 - mover;
    if (moveNr_ == kMovesPerRound && TableCards() > 0) {
        r.Take('D', 1);
        Pickup(r);
        next = 1 - lastTaker_;
    }
    int all = HandCards(0) + HandCards(1) + TableCards() + pileCount_[0] + pileCount_[1] +
              (52 - dealtCount_);
    if (all != 52) r.Fail("the cards add up to " + std::to_string(all) + ", not 52");
    ScoreLines(r);
    cur_ = next;

    Next result = Next::kMove;
    if (moveNr_ % 8 == 0) {
        if (dealtCount_ < 52)
            DealHands(r);
        else
            result = EndRound(r);
    }
    r.End();
    return result;
}

// ---- Deal -----------------------------------------------------------------------

void Mirror::StartRound(Reader& r) {
    for (Column& c : table_)
        c = Column{};
    for (auto& hand : hands_)
        for (Card& c : hand)
            c = Card{};
    pileMask_[0] = pileMask_[1] = 0;
    pileCount_[0] = pileCount_[1] = 0;
    sweeps_[0] = sweeps_[1] = 0;
    dealt_ = 0;
    dealtCount_ = 0;
    DealHands(r);
    DealTable(r);
    cur_ = starter_;
    moveNr_ = 0;
    inRound_ = true;
}

void Mirror::MarkDealt(Card c) {
    if (dealt_ & Bit(c)) throw Broken("a card was dealt twice in one round");
    dealt_ |= Bit(c);
    ++dealtCount_;
}

// Eight hand items: player 1 slot 1, player 2 slot 1, ... player 2 slot 4.
void Mirror::DealHands(Reader& r) {
    for (int slot = 0; slot < 4; ++slot) {
        for (int p = 0; p < 2; ++p) {
            Item it = r.Take(HandCode(p), 4);
            if (it.text[0] != PosDigit(slot) || it.text[1] != '1')
                r.Fail("a hand card dealt out of order");
            Card c = r.ParseCard(it.text.substr(2));
            if (c.Empty()) r.Fail("an empty card dealt");
            if (!hands_[p][slot].Empty()) r.Fail("a card dealt into an occupied hand slot");
            MarkDealt(c);
            hands_[p][slot] = c;
        }
    }
}

// Four table cards, from the middle column outwards: h, h-1, h+1, h-2.
void Mirror::DealTable(Reader& r) {
    int h = numColumns_ / 2;
    const int columns[4] = {h, h - 1, h + 1, h - 2};
    for (int c : columns) {
        Item it = r.Take('0', 4);
        if (it.text[0] != PosDigit(c) || it.text[1] != '1')
            r.Fail("a table card dealt to the wrong place");
        Card card = r.ParseCard(it.text.substr(2));
        if (card.Empty()) r.Fail("an empty card dealt");
        MarkDealt(card);
        Column& col = table_[c];
        col.cards[0] = card;
        col.n = 1;
        col.value = card.rank;
    }
}

// ---- Moves ----------------------------------------------------------------------

// A Put to a free column, a Build or a Block: the hand slot empties, the card
// flies to a column, arrives there, and a Build or Block is labelled.
void Mirror::PlayPutOrBuild(Reader& r, int slot, Card card) {
    int mover = cur_;
    const char cleared[4] = {PosDigit(slot), '1', '0', '0'};
    r.Expect(HandCode(mover), std::string_view(cleared, 4));
    Item flight = r.Take('A', 8);
    int c = r.ParseDigit(flight.text[6]) - 1;
    if (c < 0 || c >= numColumns_) r.Fail("a card flies to a column off the table");
    Column& col = table_[c];
    char expected[8] = {HandCode(mover), '0', 0,           0,
                        PosDigit(slot),  '1', PosDigit(c), PosDigit(col.n)};
    CardChars(card, expected + 2);
    if (flight.text != std::string_view(expected, 8))
        r.Fail("flight " + Quote(flight.text) + " does not match " +
               Quote(std::string_view(expected, 8)));
    hands_[mover][slot] = Card{};

    char arrived[4] = {PosDigit(c), PosDigit(col.n), 0, 0};
    CardChars(card, arrived + 2);
    if (col.n == 0) {
        int free = FreeColumn(mover);
        if (c != free)
            r.Fail("a Put went to column " + std::to_string(c + 1) + ", the free column is " +
                   std::to_string(free + 1));
        col.cards[0] = card;
        col.n = 1;
        col.value = card.rank;
        col.block = false;
        r.Expect('0', std::string_view(arrived, 4));
        return;
    }

    if (col.n >= 8) r.Fail("a ninth card on a pile");
    bool wasSingle = col.n == 1;
    int before = col.value;
    col.cards[col.n++] = card;
    r.Expect('0', std::string_view(arrived, 4));
    Item label = r.Take('T', std::to_string(c + 1).size() + 1);
    if (label.text.substr(0, label.text.size() - 1) != std::to_string(c + 1))
        r.Fail("label " + Quote(label.text) + " names the wrong column");
    char shown = label.text.back();

    int sum = before + card.rank;
    bool build = !col.block && sum <= 14 && shown == ValueChar(sum) &&
                 HandHoldsRank(mover, sum == 14 ? 1 : sum, slot);
    bool block = (wasSingle || col.block) && before == card.rank &&
                 shown == ValueChar(col.cards[0].rank) && HandHoldsRank(mover, card.rank, slot);
    if (build) {
        col.value = sum;
    } else if (block) {
        col.block = true;
        col.value = card.rank;
    } else {
        r.Fail("the rules allow no Build or Block of this card on column " + std::to_string(c + 1) +
               " labelled " + Quote(label.text));
    }
}

// A Put with every column taken: the card goes to the mover's Capture Pile.
void Mirror::PlayPutToPile(Reader& r, int slot, Card card) {
    int mover = cur_;
    if (FreeColumn(mover) >= 0) r.Fail("a Put went to the Capture Pile while a column was free");
    char shown[4] = {'1', '1', 0, 0};
    CardChars(card, shown + 2);
    r.Expect('F', std::string_view(shown, 4));
    const char cleared[4] = {PosDigit(slot), '1', '0', '0'};
    r.Expect(HandCode(mover), std::string_view(cleared, 4));
    char flight[8] = {HandCode(mover), PileCode(mover), 0, 0, PosDigit(slot), '1', '1', '1'};
    CardChars(card, flight + 2);
    r.Expect('A', std::string_view(flight, 8));
    r.Expect(PileCode(mover), std::string_view(shown, 4));
    hands_[mover][slot] = Card{};
    AddToPile(mover, card);
}

// A Take: the table cards in the order they were lifted (columns ascending,
// each from its top), then the hand card, each as cleared place, flight and
// arrival on the Capture Pile.
void Mirror::PlayTake(Reader& r, int slot, Card card) {
    int mover = cur_;
    PileValue before[12];
    for (int c = 0; c < numColumns_; ++c)
        before[c] = PileValue{table_[c].value, table_[c].block};
    int start = pileCount_[mover];
    unsigned taken = 0;
    int lifted = 0, lastColumn = -1;
    char shown[4] = {'1', '1', 0, 0};
    char flight[8];

    for (;;) {
        char next = r.PeekCode();
        if (next == '0') {
            Item cleared = r.Take('0', 4);
            if (cleared.text.substr(2) != "00") r.Fail("a lifted place is not reported empty");
            int c = r.ParseDigit(cleared.text[0]) - 1;
            int pos = r.ParseDigit(cleared.text[1]) - 1;
            if (c < 0 || c >= numColumns_ || c < lastColumn)
                r.Fail("table cards lifted out of column order");
            Column& col = table_[c];
            if (col.n == 0 || pos != col.n - 1) r.Fail("a table card lifted from below the top");
            Card x = col.cards[pos];
            flight[0] = '0';
            flight[1] = PileCode(mover);
            CardChars(x, flight + 2);
            flight[4] = PosDigit(c);
            flight[5] = PosDigit(pos);
            flight[6] = '1';
            flight[7] = PosDigit(start + 1 + lifted);
            r.Expect('A', std::string_view(flight, 8));
            CardChars(x, shown + 2);
            r.Expect(PileCode(mover), std::string_view(shown, 4));
            col.cards[--col.n] = Card{};
            if (col.n == 0) col = Column{};
            AddToPile(mover, x);
            taken |= 1u << c;
            lastColumn = c;
            ++lifted;
        } else if (next == HandCode(mover)) {
            const char cleared[4] = {PosDigit(slot), '1', '0', '0'};
            r.Expect(HandCode(mover), std::string_view(cleared, 4));
            char last[8] = {HandCode(mover), PileCode(mover), 0, 0, PosDigit(slot), '1', '1',
                            PosDigit(start)};
            CardChars(card, last + 2);
            r.Expect('A', std::string_view(last, 8));
            CardChars(card, shown + 2);
            r.Expect(PileCode(mover), std::string_view(shown, 4));
            hands_[mover][slot] = Card{};
            AddToPile(mover, card);
            break;
        } else {
            r.Fail("expected the next card of a Take");
        }
    }
    if (lifted == 0) r.Fail("a Take that lifts no table card");
    for (int c = 0; c < numColumns_; ++c)
        if ((taken >> c & 1) && table_[c].n != 0) r.Fail("a Take left part of a pile");
    if (!LegalCapture(card.rank, taken, before))
        r.Fail("the rules do not let this card take these piles");
    lastTaker_ = mover;
    if (TableCards() == 0) {
        ++sweeps_[mover];
        ++totals_.sweeps;
    }
}

// After the 48th move the last taker picks up the table. The report lists
// the cards in lifting order except that the first card lifted comes last.
void Mirror::Pickup(Reader& r) {
    int taker = lastTaker_;
    int start = pileCount_[taker];
    Card order[52];
    int column[52], position[52];
    int m = 0;
    for (int c = 0; c < numColumns_; ++c)
        for (int pos = table_[c].n - 1; pos >= 0; --pos) {
            order[m] = table_[c].cards[pos];
            column[m] = c;
            position[m++] = pos;
        }
    char cleared[4] = {0, 0, '0', '0'};
    char flight[8];
    char shown[4] = {'1', '1', 0, 0};
    for (int k = 0; k < m; ++k) {
        int i = k + 1 < m ? k + 1 : 0;
        cleared[0] = PosDigit(column[i]);
        cleared[1] = PosDigit(position[i]);
        r.Expect('0', std::string_view(cleared, 4));
        flight[0] = '0';
        flight[1] = PileCode(taker);
        CardChars(order[i], flight + 2);
        flight[4] = PosDigit(column[i]);
        flight[5] = PosDigit(position[i]);
        flight[6] = '1';
        flight[7] = PosDigit(start + i);
        r.Expect('A', std::string_view(flight, 8));
        CardChars(order[i], shown + 2);
        r.Expect(PileCode(taker), std::string_view(shown, 4));
        AddToPile(taker, order[i]);
    }
    for (Column& c : table_)
        c = Column{};
    r.Expect('P', PlayerText(1 - taker));
}

// ---- Scores -------------------------------------------------------------------

void Mirror::ScoreLines(Reader& r) {
    char run[128];  // the six items, written out whole
    int n = 0;
    for (int p = 0; p < 2; ++p) {
        std::uint64_t pile = pileMask_[p];
        run[n++] = '<';
        run[n++] = 'G';
        run[n++] = '>';
        run[n++] = HandCode(p);
        int aces = Aces(pile), spades = Spades(pile);
        bool two = pile & Bit(Card{2, 4}), ten = pile & Bit(Card{10, 2});
        int points = aces + two + 2 * ten + (spades >= 7) + 3 * (pileCount_[p] >= 27) + sweeps_[p];
        run[n++] = char('0' + aces);
        run[n++] = char('0' + two);
        run[n++] = char('0' + ten);
        n = PutNumber(run, n, sweeps_[p], 2);
        n = PutNumber(run, n, spades, 2);
        n = PutNumber(run, n, pileCount_[p], 2);
        n = PutNumber(run, n, points, 2);
    }
    // Cards not seen by either player: the stock, and both hands (both players
    // are computers).
    std::uint64_t unseen = ~dealt_;
    for (const auto& hand : hands_)
        for (Card c : hand)
            unseen |= c.Empty() ? 0 : Bit(c);
    for (int suit = 1; suit <= 4; ++suit) {
        // The suit's bits run from the ace up; the item's mask has the ace on top.
        int byIndex = int(unseen >> Card{1, suit}.Index()) & 0x1FFF;
        int mask = byIndex >> 1 | (byIndex & 1) * RankBit(1);
        run[n++] = '<';
        run[n++] = 'U';
        run[n++] = '>';
        run[n++] = SuitChar(suit);
        n = PutNumber(run, n, mask, 4);
    }
    r.ExpectRun(std::string_view(run, std::size_t(n)), 6);
}

int Mirror::RoundPoints(int player) const {
    return PilePoints(pileMask_[player], pileCount_[player]) + sweeps_[player];
}

// The end of a round: every card is in a Capture Pile; the points other than
// sweeps come to 11 (8 when the cards split 26-26, as nobody gets the 3 for
// most cards); the totals and the winner follow.
Next Mirror::EndRound(Reader& r) {
    if (moveNr_ != kMovesPerRound)
        r.Fail("the round ended after " + std::to_string(moveNr_) + " moves");
    if (dealtCount_ != 52 || HandCards(0) + HandCards(1) + TableCards() != 0 ||
        pileCount_[0] + pileCount_[1] != 52)
        r.Fail("the round ended with cards outside the Capture Piles");
    int base0 = PilePoints(pileMask_[0], pileCount_[0]);
    int base1 = PilePoints(pileMask_[1], pileCount_[1]);
    int expected = pileCount_[0] == 26 ? 8 : 11;
    if (base0 + base1 != expected)
        r.Fail("the round's points other than sweeps total " + std::to_string(base0 + base1) +
               ", not " + std::to_string(expected));
    points_[0] += base0 + sweeps_[0];
    points_[1] += base1 + sweeps_[1];
    int winner = -1;
    if (points_[0] >= 21 && points_[0] > points_[1])
        winner = 0;
    else if (points_[1] >= 21 && points_[1] > points_[0])
        winner = 1;
    char text[32];
    int n = PutNumber(text, 0, winner + 50, 2);
    n = PutNumber(text, n, points_[0], 2);
    n = PutNumber(text, n, points_[1], 2);
    r.Expect('M', std::string_view(text, std::size_t(n)));

    inRound_ = false;
    starter_ = 1 - starter_;
    pileMask_[0] = pileMask_[1] = 0;
    pileCount_[0] = pileCount_[1] = 0;
    ++totals_.rounds;
    if (winner < 0) return Next::kNewRound;
    ++totals_.games;
    ++totals_.wins[winner];
    totals_.finalPoints[0] += points_[0];
    totals_.finalPoints[1] += points_[1];
    return Next::kGameOver;
}

// ---- Helpers ------------------------------------------------------------------

void Mirror::AddToPile(int player, Card c) {
    if (pileMask_[player] & Bit(c)) throw Broken("a card reached a Capture Pile twice");
    pileMask_[player] |= Bit(c);
    ++pileCount_[player];
}

// Player 1 fills from the middle column towards the first, player 2 from the
// middle towards the last; each then takes the other side.
int Mirror::FreeColumn(int player) const {
    int h = numColumns_ / 2;
    if (player == 0) {
        for (int c = h; c >= 0; --c)
            if (table_[c].n == 0) return c;
        for (int c = h + 1; c < numColumns_; ++c)
            if (table_[c].n == 0) return c;
    } else {
        for (int c = h; c < numColumns_; ++c)
            if (table_[c].n == 0) return c;
        for (int c = h - 1; c >= 0; --c)
            if (table_[c].n == 0) return c;
    }
    return -1;
}

int Mirror::TableCards() const {
    int n = 0;
    for (int c = 0; c < numColumns_; ++c)
        n += table_[c].n;
    return n;
}

int Mirror::HandCards(int player) const {
    int n = 0;
    for (Card c : hands_[player])
        n += !c.Empty();
    return n;
}

bool Mirror::HandHoldsRank(int player, int rank, int exceptSlot) const {
    for (int s = 0; s < 4; ++s)
        if (s != exceptSlot && hands_[player][s].rank == rank) return true;
    return false;
}

// Whether the taken columns split into captures the card may make on its own:
// a block of its rank alone, or non-block piles adding up to its rank (an ace
// also to 14, table aces counting 1).
bool Mirror::LegalCapture(int rank, unsigned columns, const PileValue* before) const {
    if (columns == 0) return true;
    unsigned lowest = columns & -columns;
    unsigned rest = columns & ~lowest;
    for (unsigned sub = rest;; sub = (sub - 1) & rest) {
        unsigned group = sub | lowest;
        bool valid;
        if (std::popcount(group) == 1 && before[std::countr_zero(group)].block) {
            valid = before[std::countr_zero(group)].value == rank;
        } else {
            int sum = 0;
            bool hasBlock = false;
            for (int c = 0; c < numColumns_; ++c) {
                if (!(group >> c & 1)) continue;
                sum += before[c].value;
                hasBlock |= before[c].block;
            }
            valid = !hasBlock && (sum == rank || (rank == 1 && sum == 14));
        }
        if (valid && LegalCapture(rank, columns & ~group, before)) return true;
        if (sub == 0) break;
    }
    return false;
}

}  // namespace sim
