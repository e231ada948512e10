// The places of the table: which show cards, where they are drawn, and
// their names in words.
#include "table/tableplaces.h"

#include <QRect>
#include <algorithm>

#include "table/tablefocus.h"
#include "table/tableview.h"

namespace {

QString PlayerName(int player) {
    return WireToText(player == 1 ? ShownMirror().settings.player1Name
                                  : ShownMirror().settings.player2Name);
}

QString Cards(int count) {
    return count == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(count);
}

QString HandCardName(int player, int slot) {
    int count = 0;
    int number = 0;
    for (int s = 1; s <= 4; ++s)
        if (table.pileDepth[player][s] > 0) {
            ++count;
            if (s == slot) number = count;
        }
    const QString owner = HandOwner(player);
    QString name = QStringLiteral("%1, card %2 of %3: %4")
                       .arg(owner)
                       .arg(number)
                       .arg(count)
                       .arg(PictureName(table.handCards[player][slot]));
    if (player == ShownMirror().CurrentPlayer())
        name +=
            QStringLiteral(" (key ") + QChar::fromLatin1(kSlotKeys[slot - 1]) + QLatin1Char(')');
    if (table.highlight[player][slot] == 1) name += QStringLiteral(", selected");
    return name;
}

QString HandCountName(int player) {
    int count = 0;
    QStringList faceUp;
    for (int slot = 1; slot <= 4; ++slot)
        if (table.pileDepth[player][slot] > 0) {
            ++count;
            if (const QString card = PictureName(table.handCards[player][slot]); !card.isEmpty())
                faceUp << card;
        }
    if (count == 0) return {};
    QString name = PlayerName(player) + QStringLiteral("'s hand: ") + Cards(count);
    if (faceUp.isEmpty()) return name + QStringLiteral(", face down");
    return name + QStringLiteral(", face up: ") + Listed(faceUp);
}

QString PileName(int column) {
    const int depth = table.pileDepth[0][column];
    if (depth == 0) return {};
    QStringList cards;
    bool allOfTagRank = true;
    const char tag = table.tagLetter[column];
    for (int d = 1; d <= depth; ++d) {
        const int picture = table.pileCards[column][d];
        cards << PictureName(picture);
        if (PictureRank(picture) != RankValue(tag)) allOfTagRank = false;
    }
    QString name = QStringLiteral("Table pile %1 (key %2): ")
                       .arg(column)
                       .arg(QChar::fromLatin1(PileKey(column))) +
                   Listed(cards);
    if (table.tagShown[column] == 1 && RankValue(tag) != 0) {
        // A block's cards are all of the rank its tag names; a build's add up to it.
        if (allOfTagRank)
            name += QStringLiteral(", block of ") + RankPlural(tag);
        else
            name += QStringLiteral(", build of %1").arg(RankValue(tag) == 1 ? 14 : RankValue(tag));
    }
    if (table.highlight[0][column] == 1) name += QStringLiteral(", selected");
    return name;
}

QString CaptureName(int area) {
    const int count = table.captureCount[area];
    if (count == 0) return {};
    QString name = PlayerName(area - 2) + QStringLiteral("'s capture pile: ") + Cards(count);
    const int top = table.capturedCards[area][std::min(count, kCapturedMost)];
    if (const QString card = PictureName(top); !card.isEmpty())
        name += QStringLiteral(", top card ") + card;
    return name;
}

}  // namespace

// A person plays this hand: its cards are told one by one, with their keys.
QString HandOwner(int player) {
    return CardsTold(3 - player) ? PlayerName(player) + QStringLiteral("'s hand")
                                 : QStringLiteral("Your hand");
}

bool CardsTold(int player) {
    return ShownMirror().playerIsComputer[player] == 0;
}

// "a", "a and b", "a, b and c".
QString Listed(const QStringList& names) {
    if (names.size() <= 1) return names.value(0);
    return QStringList(names.mid(0, names.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + names.last();
}

int PlaceIndex(const Place& place) {
    if (place.area == kPilesArea) return place.column - 1;
    if (place.area <= kHandArea2) return 9 + (place.area - 1) * 5 + place.column;
    return 19 + place.area - 3;
}

// The places that show cards, in reading order: the hands, the table piles,
// the capture piles.
std::vector<Place> ShownPlaces() {
    std::vector<Place> shown;
    for (int player = 1; player <= 2; ++player) {
        if (!CardsTold(player)) {
            if (!HandCountName(player).isEmpty()) shown.push_back({player, 0});
            continue;
        }
        for (int slot = 1; slot <= 4; ++slot)
            if (table.pileDepth[player][slot] > 0) shown.push_back({player, slot});
    }
    for (int column = 1; column <= kNumColumns; ++column)
        if (table.pileDepth[0][column] > 0) shown.push_back({0, column});
    for (int area = kCaptureArea1; area <= kCaptureArea2; ++area)
        if (table.captureCount[area] > 0) shown.push_back({area, 0});
    return shown;
}

QRect PlaceRect(const Place& place) {
    if (place.area == kPilesArea)
        return PileExtent(place.column, table.pileDepth[0][place.column],
                          table.tagShown[place.column] == 1);
    if (IsCaptureArea(place.area))
        return CapturePileExtent(place.area, table.captureCount[place.area]);
    if (place.column > 0)
        return QRect(HandPlace(place.area, place.column), QSize(kCardWidth, kCardHeight));
    const QPoint left = HandPlace(place.area, 1);
    return QRect(left, QSize(4 * kCardWidth, kCardHeight));
}

QString PlaceName(int area, int column) {
    if (area == kPilesArea) return PileName(column);
    if (IsHandArea(area)) {
        if (column == 0) return HandCountName(area);
        return table.pileDepth[area][column] > 0 ? HandCardName(area, column) : QString();
    }
    if (IsCaptureArea(area)) return CaptureName(area);
    return {};
}

QString DealWords(bool newRound) {
    const int hand = FocusHand();
    QStringList cards;
    for (int slot = 1; slot <= 4; ++slot)
        if (table.pileDepth[hand][slot] > 0) cards << PictureName(table.handCards[hand][slot]);
    if (cards.isEmpty()) return {};
    const QString held = QStringLiteral("you hold ") + Listed(cards);
    if (!newRound) return QStringLiteral("New hand: ") + held + QLatin1Char('.');
    QStringList piles;
    for (int column = 1; column <= kNumColumns; ++column)
        if (table.pileDepth[0][column] > 0)
            piles << PictureName(table.pileCards[column][table.pileDepth[0][column]]);
    return QStringLiteral("New round: ") + held + QStringLiteral("; on the table ") +
           Listed(piles) + QLatin1Char('.');
}
