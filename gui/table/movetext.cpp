#include "table/movetext.h"

#include <QStringList>

#include "reply_cursor.h"
#include "table/cardtext.h"

namespace {

bool IsHand(char code) {
    return code == '1' || code == '2';
}
bool IsCapturePile(char code) {
    return code == '3' || code == '4';
}

// A card item ("0" to "4"): place digit, depth digit, then the card, "00" when the place emptied.
struct CardItem {
    char code = 0;
    int column = 0;
    int depth = 0;
    char rank = '0';
    char suit = '0';
    bool Empty() const { return rank == '0'; }
    QString Name() const { return QStringLiteral("the ") + CardName(rank, suit); }
};

bool ReadCard(const ReplyItem& item, CardItem& card) {
    if (item.code < '0' || item.code > '4' || item.text.size() < 4) return false;
    card = {item.code, item.text[0] - '0', item.text[1] - '0', item.text[2], item.text[3]};
    return true;
}

// "the 6 of clubs", "the 6 of clubs and the 3 of hearts", "a, b and c".
QString List(const QStringList& names) {
    if (names.size() <= 1) return names.value(0);
    return QStringList(names.mid(0, names.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + names.last();
}

// A build as its tag shows it: "9", "10", "11 for a jack" .. "14 for an ace".
QString BuildValue(char tag) {
    const int value = RankValue(tag);
    switch (value) {
        case 1:
            return QStringLiteral("14 for an ace");
        case 11:
            return QStringLiteral("11 for a jack");
        case 12:
            return QStringLiteral("12 for a queen");
        case 13:
            return QStringLiteral("13 for a king");
        default:
            return QString::number(value);
    }
}

bool IsScoringCard(char rank, char suit) {
    return rank == 'A' || (rank == '2' && (suit == 's' || suit == 'S')) ||
           (rank == 'T' && (suit == 'd' || suit == 'D'));
}

QString TheCard(const WireCard& card) {
    return QStringLiteral("the ") + CardName(card.rank, card.suit);
}

// The cards a take lifts from the table: up to four by name; more as a
// count, naming the cards among them that score (aces, the 2 of spades, the
// 10 of diamonds, spades): "6 cards, the ace of clubs among them,".
QString TakenCards(const std::vector<WireCard>& cards) {
    constexpr std::size_t kMostNamed = 4;
    QStringList names;
    QStringList scoring;
    for (const WireCard& card : cards) {
        names << TheCard(card);
        if (IsScoringCard(card.rank, card.suit) || card.suit == 's' || card.suit == 'S')
            scoring << TheCard(card);
    }
    if (cards.size() <= kMostNamed) return List(names);
    QString text = QString::number(cards.size()) + QStringLiteral(" cards");
    if (!scoring.isEmpty())
        text += QStringLiteral(", ") + List(scoring) + QStringLiteral(" among them,");
    return text;
}

QString Name(const MoveContext& before, int player) {
    return WireToText(before.names[player]);
}

// The sweeps count of `player` in the score lines among `items`, or -1.
int SweepsAfter(const std::vector<ReplyItem>& items, int player) {
    for (const ReplyItem& item : items)
        if (item.code == 'G' && item.text.size() >= 6 && item.text[0] - '0' == player)
            return (item.text[4] - '0') * 10 + (item.text[5] - '0');
    return -1;
}

// The sentence for the move reported by items [first, last).
QString MoveSentence(const std::vector<ReplyItem>& items, std::size_t first, std::size_t last,
                     const MoveContext& before) {
    int mover = 0;
    CardItem arrival;             // the card that came to the table
    CardItem lastCaptured;        // the last of them: the hand card of a take
    std::vector<WireCard> taken;  // cards that came to the mover's capture pile, in order
    CardItem noRoom;              // the card of an "F" item
    char tag = 0;
    for (std::size_t i = first; i < last; ++i) {
        const ReplyItem& item = items[i];
        CardItem card;
        if (item.code == 'F' && item.text.size() >= 4) {
            noRoom = {'F', 1, 1, item.text[2], item.text[3]};
        } else if (item.code == 'T' && !item.text.empty()) {
            tag = item.text.back();
        } else if (ReadCard(item, card)) {
            if (IsHand(card.code) && card.Empty()) mover = card.code - '0';
            if (card.code == '0' && !card.Empty()) arrival = card;
            if (IsCapturePile(card.code) && !card.Empty()) {
                taken.push_back({card.rank, card.suit});
                lastCaptured = card;
            }
        }
    }
    if (mover == 0) return {};
    const QString who = Name(before, mover);
    const auto told = [&](const QString& sentence) { return who + QLatin1Char(' ') + sentence; };

    if (noRoom.code != 0)
        return told(QStringLiteral("found no room on the table and put the ") +
                    CardName(noRoom.rank, noRoom.suit) + QStringLiteral(" on its capture pile"));
    if (tag != 0 && arrival.code != 0) {
        // A block's tag names the rank of its cards; a build's names a sum,
        // which is larger than the card played, save for a build of 14 with an ace.
        const bool sameRank = RankValue(tag) == RankValue(arrival.rank);
        const bool onColumn = arrival.column >= 1 && arrival.column <= kNumColumns;
        const bool block =
            sameRank && (RankValue(tag) != 1 ||
                         (onColumn && before.bottomRank[arrival.column] == RankValue(tag)));
        if (block)
            return told(QStringLiteral("blocked the ") + RankPlural(tag) +
                        QStringLiteral(" with ") + arrival.Name());
        return told(QStringLiteral("built ") + BuildValue(tag) + QStringLiteral(" with ") +
                    arrival.Name());
    }
    if (!taken.empty()) {
        // The hand card comes to the capture pile last.
        taken.pop_back();
        QString sentence = told(QStringLiteral("took ") + TakenCards(taken) +
                                QStringLiteral(" with ") + lastCaptured.Name());
        const int sweeps = SweepsAfter(items, mover);
        if (sweeps > before.sweeps[mover]) sentence += QStringLiteral(" and made a sweep");
        return sentence;
    }
    if (arrival.code != 0)
        return told(QStringLiteral("put ") + arrival.Name() + QStringLiteral(" on the table"));
    return {};
}

// The sentence for the pickup of the last cards in items [first, last).
QString PickupSentence(const std::vector<ReplyItem>& items, std::size_t first, std::size_t last,
                       const MoveContext& before) {
    for (std::size_t i = first; i < last; ++i) {
        CardItem card;
        if (ReadCard(items[i], card) && IsCapturePile(card.code) && !card.Empty())
            return Name(before, card.code - '2') + QStringLiteral(" took the last cards");
    }
    return {};
}

// The index of the first "P" item at or after `from`, or the number of items.
std::size_t NextPlayerItem(const std::vector<ReplyItem>& items, std::size_t from) {
    while (from < items.size() && items[from].code != 'P')
        ++from;
    return from;
}

// What cards coming to the player's capture pile gain: "3 cards, an ace and a sweep".
QString Gains(const std::vector<WireCard>& cards, bool sweep) {
    int aces = 0;
    int spades = 0;
    QStringList parts;
    parts << (cards.size() == 1 ? QStringLiteral("1 card")
                                : QString::number(cards.size()) + QStringLiteral(" cards"));
    QStringList special;
    for (const WireCard& card : cards) {
        const bool spade = card.suit == 's' || card.suit == 'S';
        if (card.rank == 'A') ++aces;
        if (spade) ++spades;
        if (card.rank != 'A' && IsScoringCard(card.rank, card.suit)) special << TheCard(card);
    }
    if (aces == 1) parts << QStringLiteral("an ace");
    if (aces > 1) parts << QString::number(aces) + QStringLiteral(" aces");
    parts << special;
    if (spades == 1) parts << QStringLiteral("1 spade");
    if (spades > 1) parts << QString::number(spades) + QStringLiteral(" spades");
    if (sweep) parts << QStringLiteral("a sweep");
    return List(parts);
}

// A pile's value as the rules count it for a take: its tag's rank, else its card's; ace 1.
int PileRank(const HintTable::Pile& pile) {
    if (pile.tag != 0) return RankValue(pile.tag);
    return pile.cards.empty() ? 0 : RankValue(pile.cards.front().rank);
}

// A pile of cards of one rank (a single card or a block), which a card of that rank may block.
bool OneRank(const HintTable::Pile& pile) {
    for (const WireCard& card : pile.cards)
        if (RankValue(card.rank) != PileRank(pile)) return false;
    return !pile.cards.empty();
}

bool Holds(const HintTable& hint, int value) {
    for (const WireCard& card : hint.otherHandCards) {
        const int rank = RankValue(card.rank);
        if (rank == value || (rank == 1 && value == 14)) return true;
    }
    return false;
}

}  // namespace

namespace {

// The kind of move the hint's cards make, as the words tell it: a take when
// it lifts several piles or a pile of the hand card's value, else a build
// when the player holds the card that takes the new value, else a block
// when the player holds another card of the pile's rank.
int HintKind(const HintTable& hint) {
    if (hint.chosen.empty()) return kPutChoice;
    const int hand = RankValue(hint.handCard.rank);
    const HintTable::Pile& first = hint.chosen.front();
    if (hint.chosen.size() > 1 || PileRank(first) == hand) return kTakeChoice;
    const int buildOn =
        first.tag == 'A' ? 0 : (first.tag != 0 ? RankValue(first.tag) : PileRank(first));
    const int built = buildOn + hand;
    if (buildOn > 0 && built <= 14 &&
        !(first.tag != 0 && OneRank(first) && first.cards.size() > 1) && Holds(hint, built))
        return kBuildChoice;
    if ((first.tag == 0 || OneRank(first)) && Holds(hint, hand)) return kBlockChoice;
    return 0;
}

}  // namespace

int HintChoice(const HintTable& hint) {
    return hint.handCard.rank == 0 ? 0 : HintKind(hint);
}

QString DescribeHint(const HintTable& hint) {
    const QString card = TheCard(hint.handCard);
    const HintTable::Pile* first = hint.chosen.empty() ? nullptr : &hint.chosen.front();
    switch (HintChoice(hint)) {
        case kPutChoice:
            if (hint.freeColumn)
                return QStringLiteral("Put ") + card + QStringLiteral(" on the table.");
            return QStringLiteral("Put ") + card +
                   QStringLiteral(" on your capture pile, as the table has no room.\nIt wins ") +
                   Gains({hint.handCard}, false) + QStringLiteral(".");
        case kBuildChoice: {
            const int buildOn = first->tag != 0 ? RankValue(first->tag) : PileRank(*first);
            const int built = buildOn + RankValue(hint.handCard.rank);
            return QStringLiteral("Build ") + BuildValue(RankChar(built == 14 ? 1 : built)) +
                   QStringLiteral(" with ") + card + QStringLiteral(".");
        }
        case kBlockChoice:
            return QStringLiteral("Block the ") + RankPlural(hint.handCard.rank) +
                   QStringLiteral(" with ") + card + QStringLiteral(".");
        case kTakeChoice: {
            std::vector<WireCard> lifted;
            for (const HintTable::Pile& pile : hint.chosen)
                lifted.insert(lifted.end(), pile.cards.begin(), pile.cards.end());
            std::vector<WireCard> gained = lifted;
            gained.push_back(hint.handCard);
            const bool sweep = int(hint.chosen.size()) == hint.occupiedPiles;
            return QStringLiteral("Take ") + TakenCards(lifted) + QStringLiteral(" with ") + card +
                   QStringLiteral(".\nIt wins ") + Gains(gained, sweep) + QStringLiteral(".");
        }
        default:
            return {};
    }
}

std::vector<ReplyItem> ReplyItems(const std::string& reply) {
    std::vector<ReplyItem> items;
    wire::ReplyCursor in(reply.c_str());
    for (char code = 0;;) {
        const wire::ItemHead head = in.NextItem(code);
        if (head == wire::ItemHead::kEnd) return items;
        if (head == wire::ItemHead::kNoClose)
            in.Take();  // not an item: on to the next "<"
        else
            items.push_back({code, std::string(in.TextToNextItem())});
    }
}

bool IsComputerMove(const std::string& reply) {
    const std::vector<ReplyItem> items = ReplyItems(reply);
    CardItem reveal;
    return items.size() >= 2 && ReadCard(items[0], reveal) && IsHand(reveal.code) &&
           !reveal.Empty() && items[1].code == 'D';
}

QString DescribeMove(const std::string& reply, const MoveContext& before) {
    const std::vector<ReplyItem> items = ReplyItems(reply);
    // The move's own items end with the first player item; the pickup of the
    // last cards, when the move ended a round, follows its pause up to the next one.
    const std::size_t moveEnd = NextPlayerItem(items, 0);
    QStringList lines;
    const QString move = MoveSentence(items, 0, moveEnd, before);
    if (move.isEmpty()) return {};
    lines << move;
    if (moveEnd + 1 < items.size() && items[moveEnd + 1].code == 'D') {
        const std::size_t pickupEnd = NextPlayerItem(items, moveEnd + 1);
        const QString pickup = PickupSentence(items, moveEnd + 2, pickupEnd, before);
        if (!pickup.isEmpty()) lines << pickup;
    }
    return lines.join(QLatin1Char('\n'));
}
