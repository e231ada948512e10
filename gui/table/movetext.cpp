#include "table/movetext.h"

#include <QStringList>

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

// A build's value from its tag letter: "9", "10" .. "14".
QString BuildValue(char tag) {
    const int value = RankValue(tag);
    return QString::number(value == 1 ? 14 : value);
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
    CardItem arrival;       // the card that came to the table
    QStringList captured;   // cards that came to the mover's capture pile, in order
    CardItem lastCaptured;  // the last of them: the hand card of a take
    CardItem noRoom;        // the card of an "F" item
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
                captured << card.Name();
                lastCaptured = card;
            }
        }
    }
    if (mover == 0) return {};
    const QString who = Name(before, mover);
    const auto told = [&](const QString& sentence) { return who + QLatin1Char(' ') + sentence; };

    if (noRoom.code != 0)
        return told(QStringLiteral("found no room on the table and put the ") +
                    CardName(noRoom.rank, noRoom.suit) + QStringLiteral(" on their capture pile"));
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
    if (!captured.isEmpty()) {
        // The hand card comes to the capture pile last.
        captured.removeLast();
        const QString taken = captured.size() <= 5
                                  ? List(captured)
                                  : QString::number(captured.size()) + QStringLiteral(" cards");
        QString sentence =
            told(QStringLiteral("took ") + taken + QStringLiteral(" with ") + lastCaptured.Name());
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

}  // namespace

std::vector<ReplyItem> ReplyItems(const std::string& reply) {
    std::vector<ReplyItem> items;
    for (std::size_t at = reply.find('<'); at != std::string::npos; at = reply.find('<', at + 1)) {
        if (at + 2 >= reply.size() || reply[at + 2] != '>') continue;
        const std::size_t next = reply.find('<', at + 1);
        const std::size_t end = next == std::string::npos ? reply.size() : next;
        items.push_back({reply[at + 1], reply.substr(at + 3, end - at - 3)});
    }
    return items;
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
