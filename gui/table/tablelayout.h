// Where everything lies on the table, in window pixels: the nine columns of
// table piles, the two hands, the capture piles and the single spot, the tags
// above the columns and the remaining-cards panel; and the inverse, which
// place a click at a point falls on. The drawing, move entry and the tests
// all take their places from here.
#pragma once

#include <QPoint>
#include <QRect>

constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;

// Table piles: column 1 to 9, a pile's cards 17 pixels apart from the table top down.
constexpr int kTableTop = 180;
constexpr int kPileStep = 17;
int ColumnLeft(int column);
// Top left of the card at `depth` (1 the bottom card) of a table pile.
QPoint PilePlace(int column, int depth);

// Hands: player 1's four slots from the left edge, player 2's from the middle.
constexpr int kHandTop = 25;
QPoint HandPlace(int player, int slot);

// The places of the table as the reply items number them: the table piles,
// the two hands, the two capture piles and the single spot.
enum TableArea : int {
    kPilesArea = 0,
    kHandArea1 = 1,
    kHandArea2 = 2,
    kCaptureArea1 = 3,
    kCaptureArea2 = 4,
    kSpotArea = 5,
};
constexpr bool IsHandArea(int area) {
    return area == kHandArea1 || area == kHandArea2;
}
constexpr bool IsCaptureArea(int area) {
    return area == kCaptureArea1 || area == kCaptureArea2;
}
// The device pixels of a place of `logical` pixels on a surface of `ratio`
// device pixels to the logical one. Every edge goes to the nearest device
// pixel edge by one rule, so places that meet in logical pixels meet in
// device pixels too, and a card drawn at a place is erased by exactly the
// pixels it was drawn on, also at ratios such as 1.25, 1.5 or 1.75.
QRect DevicePixels(const QRect& logical, qreal ratio);

// The table's own size: the window's client area.
constexpr int kTableWidth = 792;
constexpr int kTableHeight = 553;
// What a place needs around it for the outline that marks it, so that the
// outline too stays on the green.
constexpr int kOutlineRoom = 6;

// The capture piles (areas 3 and 4) fan out 3 pixels a card to the right, as
// far as their room goes: player 1's up to the remaining-cards button, player
// 2's up to the window's right edge, each with room for an outline. A pile
// that holds more cards than that fans out with an even, smaller step, so its
// top card stays wholly on the table. The place of card `index` (0 the first)
// of a pile of `total` cards; `total` 0 means the pile ends with that card.
QPoint CapturePlace(int area, int index, int total = 0);
// The most cards a capture pile shows at the full step.
int CaptureFullStepCards(int area);
// The green a capture pile may take, whatever it holds.
QRect CaptureRoom(int area);
// The single spot (area 5).
QPoint SingleSpotPlace();

// Top left of a card place of any area: 0 the table, 1 and 2 the hands, 3 and
// 4 the capture piles (`captured` cards drawn there so far), 5 the single spot.
QPoint CardPlace(int area, int column, int depth, int captured);

// The tag strip above a table column: the height of a pile step less 3.
constexpr int kTagHeight = 14;
QRect TagRect(int column);

// The extent of a table pile of `depth` cards: from its tag (when `tagged`)
// or its first card to the bottom of its top card; empty for no card.
QRect PileExtent(int column, int depth, bool tagged);
// The extent of a capture pile (area 3 or 4) of `count` cards; empty for none.
QRect CapturePileExtent(int area, int count);

// The green across the columns below a pile of eight cards, the most a pile
// holds, and above the capture piles: where the words of the last move go.
QRect WordsBand();
// The first row of table piles, across the columns: where the note of an empty table goes.
QRect FirstRowBand();
// Where a question about the table's piles opens: the top centre of its
// frame, across the middle of the columns and a little below the bottom of a
// pile of `deepest` cards, over the green that no pile reaches; below the
// band of the move's words while `wordsShown`, so that they stay readable.
QPoint QuestionPlace(int deepest, bool wordsShown = false);

// The remaining-cards panel and its button; the panel waits behind the button,
// one press raises it to kPanelRaised in two steps of kPanelStep, a click on
// the panel raises it by kPanelClickStep.
constexpr QRect kPanelRect(233, 536, 325, 257);
constexpr QRect kPanelButtonRect(232, 536, 327, 17);
constexpr int kPanelHidden = 536;
constexpr int kPanelRaised = 450;
constexpr int kPanelStep = 43;
constexpr int kPanelClickStep = 100;

// The keys that stand for places: the digits 1 to 9 for the table piles and
// these letters for the hand slots 1 to 4.
extern const char kSlotKeys[];  // "UIOP": not an access letter of a menu command nor "k", "z"
// A table pile's key is the digit of its column, 1 the leftmost column,
// whether the columns left of it hold piles or not; 0 for no column.
char PileKey(int column);
// The column whose pile `key` chooses, or 0.
int PileOfKey(int key);
// Where a pile's key is shown: a small plate above the column, on the green
// between the name panels and the pile's tag, clear of the outlines around the pile.
QRect PileKeyRect(int column);

// Hit test. Clicks below kHandBottom fall on the table, above it on the hands.
constexpr int kHandBottom = 121;
// The column whose pile takes a click at x, or 0 in the gap between two
// columns and beside the table. x 0 to 11 still counts as column 1.
int ColumnAt(int x);
// True when a click at height y falls on a pile of `depth` cards: from just
// below the table top to a pile step below its top card.
bool OnPile(int depth, int y);
// The slot of `player`'s hand that a click at (x, y) falls on, 1 to 4, or 0.
int HandSlotAt(int player, int x, int y);
