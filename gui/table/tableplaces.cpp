// The places of the table: which show cards, where they are drawn, and
// their names in words.
#include "table/tableplaces.h"

#include <QRect>
#include <algorithm>

#include "table/tablefocus.h"
#include "table/tableview.h"

namespace {

QString PlayerName(const TableView& view, int player) {
    return WireToText(player == 1 ? view.ShownMirror().settings.player1Name
                                  : view.ShownMirror().settings.player2Name);
}

QString Cards(int count) {
    return count == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(count);
}

QString HandCardName(const TableView& view, int player, int slot) {
    int count = 0;
    int number = 0;
    for (int s = 1; s <= 4; ++s)
        if (view.table.pileDepth[player][s] > 0) {
            ++count;
            if (s == slot) number = count;
        }
    const QString owner = HandOwner(view, player);
    QString name = QStringLiteral("%1, card %2 of %3: %4")
                       .arg(owner)
                       .arg(number)
                       .arg(count)
                       .arg(PictureName(view.table.handCards[player][slot]));
    if (player == view.ShownMirror().CurrentPlayer())
        name +=
            QStringLiteral(" (key ") + QChar::fromLatin1(kSlotKeys[slot - 1]) + QLatin1Char(')');
    if (view.table.highlight[player][slot] == 1) name += QStringLiteral(", selected");
    return name;
}

QString HandCountName(const TableView& view, int player) {
    int count = 0;
    QStringList faceUp;
    for (int slot = 1; slot <= 4; ++slot)
        if (view.table.pileDepth[player][slot] > 0) {
            ++count;
            if (const QString card = PictureName(view.table.handCards[player][slot]);
                !card.isEmpty())
                faceUp << card;
        }
    if (count == 0) return {};
    QString name = PlayerName(view, player) + QStringLiteral("'s hand: ") + Cards(count);
    if (faceUp.isEmpty()) return name + QStringLiteral(", face down");
    return name + QStringLiteral(", face up: ") + Listed(faceUp);
}

QString PileName(const TableView& view, int column) {
    const int depth = view.table.pileDepth[0][column];
    if (depth == 0) return {};
    QStringList cards;
    bool allOfTagRank = true;
    const char tag = view.table.tagLetter[column];
    for (int d = 1; d <= depth; ++d) {
        const int picture = view.table.pileCards[column][d];
        cards << PictureName(picture);
        if (PictureRank(picture) != RankValue(tag)) allOfTagRank = false;
    }
    QString name = QStringLiteral("Table pile %1 (key %2): ")
                       .arg(column)
                       .arg(QChar::fromLatin1(PileKey(column))) +
                   Listed(cards);
    if (view.table.tagShown[column] == 1 && RankValue(tag) != 0) {
        // A block's cards are all of the rank its tag names; a build's add up to it.
        if (allOfTagRank)
            name += QStringLiteral(", block of ") + RankPlural(tag);
        else
            name += QStringLiteral(", build of %1").arg(RankValue(tag) == 1 ? 14 : RankValue(tag));
    }
    if (view.table.highlight[0][column] == 1) name += QStringLiteral(", selected");
    return name;
}

QString CaptureName(const TableView& view, int area) {
    const int count = view.table.captureCount[area];
    if (count == 0) return {};
    QString name = PlayerName(view, area - 2) + QStringLiteral("'s capture pile: ") + Cards(count);
    const int top = view.table.capturedCards[area][std::min(count, kCapturedMost)];
    if (const QString card = PictureName(top); !card.isEmpty())
        name += QStringLiteral(", top card ") + card;
    return name;
}

}  // namespace

// A person plays this hand: its cards are told one by one, with their keys.
QString HandOwner(const TableView& view, int player) {
    return CardsTold(view, 3 - player) ? PlayerName(view, player) + QStringLiteral("'s hand")
                                       : QStringLiteral("Your hand");
}

bool CardsTold(const TableView& view, int player) {
    return view.ShownMirror().playerIsComputer[player] == 0;
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
std::vector<Place> ShownPlaces(const TableView& view) {
    std::vector<Place> shown;
    for (int player = 1; player <= 2; ++player) {
        if (!CardsTold(view, player)) {
            if (!HandCountName(view, player).isEmpty()) shown.push_back({player, 0});
            continue;
        }
        for (int slot = 1; slot <= 4; ++slot)
            if (view.table.pileDepth[player][slot] > 0) shown.push_back({player, slot});
    }
    for (int column = 1; column <= kNumColumns; ++column)
        if (view.table.pileDepth[0][column] > 0) shown.push_back({0, column});
    for (int area = kCaptureArea1; area <= kCaptureArea2; ++area)
        if (view.table.captureCount[area] > 0) shown.push_back({area, 0});
    return shown;
}

QRect PlaceRect(const TableView& view, const Place& place) {
    if (place.area == kPilesArea)
        return PileExtent(place.column, view.table.pileDepth[0][place.column],
                          view.table.tagShown[place.column] == 1);
    if (IsCaptureArea(place.area))
        return CapturePileExtent(place.area, view.table.captureCount[place.area]);
    if (place.column > 0)
        return QRect(HandPlace(place.area, place.column), QSize(kCardWidth, kCardHeight));
    const QPoint left = HandPlace(place.area, 1);
    return QRect(left, QSize(4 * kCardWidth, kCardHeight));
}

QString PlaceName(const TableView& view, int area, int column) {
    if (area == kPilesArea) return PileName(view, column);
    if (IsHandArea(area)) {
        if (column == 0) return HandCountName(view, area);
        return view.table.pileDepth[area][column] > 0 ? HandCardName(view, area, column)
                                                      : QString();
    }
    if (IsCaptureArea(area)) return CaptureName(view, area);
    return {};
}

QString DealWords(const TableView& view, bool newRound) {
    const int hand = FocusHand(view);
    QStringList cards;
    for (int slot = 1; slot <= 4; ++slot)
        if (view.table.pileDepth[hand][slot] > 0)
            cards << PictureName(view.table.handCards[hand][slot]);
    if (cards.isEmpty()) return {};
    const QString held = QStringLiteral("you hold ") + Listed(cards);
    if (!newRound) return QStringLiteral("New hand: ") + held + QLatin1Char('.');
    QStringList piles;
    for (int column = 1; column <= kNumColumns; ++column)
        if (view.table.pileDepth[0][column] > 0)
            piles << PictureName(view.table.pileCards[column][view.table.pileDepth[0][column]]);
    return QStringLiteral("New round: ") + held + QStringLiteral("; on the table ") +
           Listed(piles) + QLatin1Char('.');
}
