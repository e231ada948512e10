// The places of the table a screen reader is told of: which show cards now
// in a view, where each is drawn, and what each is called.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

class TableView;

// A place of the table: a pile (area 0), a hand card (area 1 or 2, column
// the slot), a hand told as a count (column 0), a capture pile (area 3 or 4).
struct Place {
    int area;
    int column;
    bool operator==(const Place&) const = default;
};
constexpr int kPlaceCount = 9 + 2 * 5 + 2;

// Each place's own number, 0 to kPlaceCount - 1.
int PlaceIndex(const Place& place);
// The places that show cards, in reading order: the hands, the table piles,
// the capture piles.
std::vector<Place> ShownPlaces(const TableView& view);
// Where `place` is drawn, in table pixels.
QRect PlaceRect(const TableView& view, const Place& place);

// What the table's places are called: "Your hand, card 2 of 4: 9 of hearts
// (key I)", "Table pile 3 (key 3): 5 of clubs and 4 of diamonds, build of 9,
// selected", "Alice Brown's capture pile: 12 cards, top card 9 of hearts".
// Area 1 or 2 with column 0 names a hand that is told as a count; empty for
// a place that shows no card.
QString PlaceName(const TableView& view, int area, int column);
// True when a person plays `player`'s hand: its cards are told one by one.
bool CardsTold(const TableView& view, int player);
// The words a hand told card by card begins with: "Your hand" while the
// other hand is the computer's, else "Alice Brown's hand".
QString HandOwner(const TableView& view, int player);
// "a", "a and b", "a, b and c".
QString Listed(const QStringList& names);
// The words of a deal: "New round: you hold ...; on the table ..." at a
// round's first deal, else "New hand: you hold ...". Empty while the hand a
// person plays holds no card.
QString DealWords(const TableView& view, bool newRound);
