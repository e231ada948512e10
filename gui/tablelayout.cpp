#include "tablelayout.h"

#include "globals.h"

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

int HandLeft(int player) {
    CheckRange(player, 1, 2, "player");
    return player == 1 ? kHandLeft1 : kHandLeft2;
}

}  // namespace

int ColumnLeft(int column) {
    return kColumnStep * column - kColumnOffset;
}

QPoint PilePlace(int column, int depth) {
    return {ColumnLeft(column), kTableTop + kPileStep * (depth - 1)};
}

QPoint HandPlace(int player, int slot) {
    return {HandLeft(player) + kCardWidth * (slot - 1), kHandTop};
}

QPoint CapturePlace(int area, int count) {
    CheckRange(area, 3, 4, "capture area");
    return {(area == 3 ? kCaptureLeft3 : kCaptureLeft4) + kCaptureStep * count, kCaptureTop};
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
            return CapturePlace(area, captured);
        default:
            return SingleSpotPlace();
    }
}

QRect TagRect(int column) {
    return {ColumnLeft(column), kTagTop, kCardWidth, kTagHeight};
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
