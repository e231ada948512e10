#include "table/tablelayout.h"

#include <algorithm>

#include "core/mirror.h"

const char kSlotKeys[] = "UIOP";

namespace {

constexpr int kColumnStep = 87;
constexpr int kColumnOffset = 75;  // column 1 starts 12 pixels from the edge
constexpr int kHandLeft1 = 25;
constexpr int kHandLeft2 = 483;
constexpr int kHandWidth = 4 * kCardWidth;
constexpr int kCaptureTop = 450;
constexpr int kCaptureLeft3 = 25;
constexpr int kCaptureLeft4 = 570;
constexpr int kCaptureStep = 3;
constexpr QPoint kSingleSpot(365, kCaptureTop);
constexpr int kTagTop = 166;
constexpr int kMostCardsInPile = 8;
constexpr int kBandGap = 4;      // between the words and the piles or capture piles
constexpr int kQuestionGap = 8;  // between the deepest pile and a question
constexpr QSize kPileKeySize(16, 12);

int HandLeft(int player) {
    CheckRange(player, 1, 2, "player");
    return player == 1 ? kHandLeft1 : kHandLeft2;
}

}  // namespace

int ColumnLeft(int column) {
    return kColumnStep * column - kColumnOffset;
}

QRect DevicePixels(const QRect& logical, qreal ratio) {
    const auto edge = [ratio](int at) { return qRound(at * ratio); };
    const int left = edge(logical.x());
    const int top = edge(logical.y());
    return {left, top, edge(logical.x() + logical.width()) - left,
            edge(logical.y() + logical.height()) - top};
}

QPoint PilePlace(int column, int depth) {
    return {ColumnLeft(column), kTableTop + kPileStep * (depth - 1)};
}

QPoint HandPlace(int player, int slot) {
    return {HandLeft(player) + kCardWidth * (slot - 1), kHandTop};
}

namespace {

int CaptureLeft(int area) {
    CheckRange(area, 3, 4, "capture area");
    return area == kCaptureArea1 ? kCaptureLeft3 : kCaptureLeft4;
}

// The furthest left a capture pile's top card may lie.
int CaptureLastLeft(int area) {
    const int right = area == kCaptureArea1 ? kPanelButtonRect.left() : kTableWidth;
    return right - kOutlineRoom - kCardWidth;
}

}  // namespace

int CaptureFullStepCards(int area) {
    return (CaptureLastLeft(area) - CaptureLeft(area)) / kCaptureStep + 1;
}

QPoint CapturePlace(int area, int index, int total) {
    const int left = CaptureLeft(area);
    if (total <= 0) total = index + 1;
    if (total <= CaptureFullStepCards(area)) return {left + kCaptureStep * index, kCaptureTop};
    // Past the room, the cards share it evenly.
    return {left + (CaptureLastLeft(area) - left) * index / (total - 1), kCaptureTop};
}

QRect CaptureRoom(int area) {
    const int left = CaptureLeft(area);
    return {left, kCaptureTop, CaptureLastLeft(area) + kCardWidth - left, kCardHeight};
}

QPoint SingleSpotPlace() {
    return kSingleSpot;
}

QPoint CardPlace(int area, int column, int depth, int captured) {
    CheckRange(area, 0, 5, "area");
    switch (area) {
        case 0:
            return PilePlace(column, depth);
        case 1:
        case 2:
            return HandPlace(area, column);
        case 3:
        case 4:
            return CapturePlace(area, captured, captured + 1);
        default:
            return SingleSpotPlace();
    }
}

QRect TagRect(int column) {
    return {ColumnLeft(column), kTagTop, kCardWidth, kTagHeight};
}

char PileKey(int column) {
    return column >= 1 && column <= kNumColumns ? char('0' + column) : 0;
}

int PileOfKey(int key) {
    return key >= '1' && key < '1' + kNumColumns ? key - '0' : 0;
}

QRect PileKeyRect(int column) {
    const int bottom = kTagTop - kOutlineRoom - 1;
    return {ColumnLeft(column) + (kCardWidth - kPileKeySize.width()) / 2,
            bottom - kPileKeySize.height(), kPileKeySize.width(), kPileKeySize.height()};
}

int ColumnAt(int x) {
    // A column takes the clicks across its card; the 16 pixels between two
    // cards belong to no column. Integer division truncates toward zero, so x
    // 0 to 11, left of the first card, still counts as column 1.
    const int c1 = (x - 12) / kColumnStep + 1;
    const int c2 = (x + 4) / kColumnStep + 1;
    if (c1 != c2 || c1 < 1 || c1 > kNumColumns) return 0;
    return c1;
}

bool OnPile(int depth, int y) {
    return depth > 0 && y > kTableTop && y < kTableTop + kCardHeight + kPileStep * depth;
}

int HandSlotAt(int player, int x, int y) {
    const int left = HandLeft(player);
    if (x <= left || x >= left + kHandWidth || y >= kHandBottom) return 0;
    return (x - left) / kCardWidth + 1;
}

QRect PileExtent(int column, int depth, bool tagged) {
    if (depth <= 0) return {};
    const int top = tagged ? kTagTop : kTableTop;
    const int bottom = PilePlace(column, depth).y() + kCardHeight;
    return {ColumnLeft(column), top, kCardWidth, bottom - top};
}

QRect CapturePileExtent(int area, int count) {
    if (count <= 0) return {};
    const QPoint first = CapturePlace(area, 0, count);
    const int right = CapturePlace(area, count - 1, count).x() + kCardWidth;
    return {first.x(), first.y(), right - first.x(), kCardHeight};
}

namespace {

// The columns' span from the left edge of the first to the right edge of the last.
int ColumnsWidth() {
    return ColumnLeft(kNumColumns) + kCardWidth - ColumnLeft(1);
}

}  // namespace

QRect WordsBand() {
    const int top = PilePlace(1, kMostCardsInPile).y() + kCardHeight + kBandGap;
    return {ColumnLeft(1), top, ColumnsWidth(), kCaptureTop - kBandGap - top};
}

QRect FirstRowBand() {
    return {ColumnLeft(1), kTableTop, ColumnsWidth(), kCardHeight};
}

QPoint QuestionPlace(int deepest, bool wordsShown) {
    const int top = wordsShown ? WordsBand().bottom() + 1
                               : PilePlace(1, std::max(deepest, 1)).y() + kCardHeight;
    return {ColumnLeft(1) + ColumnsWidth() / 2, top + kQuestionGap};
}
