#include "table/tablefocus.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace {

// The focusable place of row `area` (0 the piles, else a hand): with
// `across` 0 the one nearest to `column`, else the next one from `column` in
// that direction; area -1 for none.
TablePlace Nearest(const TableView& view, int area, int column, int across) {
    const int last = area == kPilesArea ? kNumColumns : 4;
    if (across != 0) {
        for (int next = column + across; next >= 1 && next <= last; next += across)
            if (Focusable(view, {area, next})) return {area, next};
        return {};
    }
    for (int distance = 0; distance < last; ++distance)
        for (const int next : {column - distance, column + distance})
            if (next >= 1 && next <= last && Focusable(view, {area, next})) return {area, next};
    return {};
}

// The place's own extent: a table pile with its tag, or one hand card.
QRect Extent(const TableView& view, const TablePlace& place) {
    if (place.area == kPilesArea)
        return PileExtent(place.column, view.table.pileDepth[0][place.column],
                          view.table.tagShown[place.column] == 1);
    return QRect(view.CardPosition(place.area, place.column, 1), QSize(kCardWidth, kCardHeight));
}

}  // namespace

TablePlace FocusPlace(const TableView& view) {
    if (Focusable(view, view.focusSet)) return view.focusSet;
    const bool onPiles = view.focusSet.area == kPilesArea;
    const int column = view.focusSet.area < 0 ? 1 : view.focusSet.column;
    const int hand = FocusHand(view);
    TablePlace place = Nearest(view, onPiles ? 0 : hand, column, 0);
    if (place.area < 0) place = Nearest(view, onPiles ? hand : 0, column, 0);
    return place;
}

void SetFocusPlace(TableView& view, const TablePlace& place) {
    if (place == view.focusSet) return;
    view.focusSet = place;
    if (QWidget* surface = view.SurfaceWidget()) surface->update();
    view.NotifyTableWatcher();
}

bool PlaceShown(const TableView& view, const TablePlace& place) {
    if (place.area < 0 || place.area > kHandArea2 || place.column < 1 || place.column > kNumColumns)
        return false;
    if (place.area != kPilesArea && place.column > 4) return false;
    return view.table.pileDepth[place.area][place.column] > 0;
}

int FocusHand(const TableView& view) {
    if (view.ShownMirror().playerIsComputer[view.ShownMirror().CurrentPlayer()] == 0)
        return view.ShownMirror().CurrentPlayer();
    return view.ShownMirror().playerIsComputer[1] == 0 ||
                   view.ShownMirror().playerIsComputer[2] == 1
               ? 1
               : 2;
}

bool Focusable(const TableView& view, const TablePlace& place) {
    return (place.area == kPilesArea || place.area == FocusHand(view)) && PlaceShown(view, place);
}

void MoveFocus(TableView& view, int across, int rows) {
    TablePlace place = FocusPlace(view);
    if (rows != 0) {
        // Hand slots and pile columns do not line up: the nearest on the screen.
        const int area = rows > 0 ? 0 : FocusHand(view);
        const int x = place.area < 0 ? 0 : view.CardPosition(place.area, place.column, 1).x();
        int best = 0;
        const auto distance = [&](int column) {
            return std::abs(view.CardPosition(area, column, 1).x() - x);
        };
        for (int column = 1; column <= (area == kPilesArea ? kNumColumns : 4); ++column)
            if (Focusable(view, {area, column}) && (best == 0 || distance(column) < distance(best)))
                best = column;
        if (best != 0) place = {area, best};
    }
    if (across != 0 && place.area >= 0) {
        const TablePlace next = Nearest(view, place.area, place.column, across);
        if (next.area >= 0) place = next;
    }
    SetFocusPlace(view, place);
}

void TableFocusChanged(TableView& view) {
    QWidget* surface = view.SurfaceWidget();
    if (!surface) return;
    surface->update();
    // After the toolkit has told of the widget's own focus.
    QTimer::singleShot(0, surface, [&view] { view.NotifyTableWatcher(); });
}

void DrawFocus(const TableView& view, QPainter& painter) {
    QWidget* surface = view.SurfaceWidget();
    const TablePlace place = FocusPlace(view);
    if (!surface || !surface->hasFocus() || place.area < 0) return;
    painter.save();
    // Dashed, set apart from the solid marks of the last move, and outside them.
    QPen pen{QColor(kFocusColour)};
    pen.setWidth(2);
    pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int out = kMarkGap + kMarkWidth + 2;
    const QRect extent = Extent(view, place);
    if (place.area == 0) {
        painter.drawRect(extent.adjusted(-out, -out, out - 1, out - 1));
    } else {
        // The cards of a hand touch: an outline round one would cross the
        // corner index of the next. It stays on the green above the card.
        const int top = extent.top() - out;
        const int left = extent.left() + out;
        const int right = extent.right() - out;
        painter.drawPolyline(QPolygon{QPoint(left, extent.top() - 2), QPoint(left, top),
                                      QPoint(right, top), QPoint(right, extent.top() - 2)});
    }
    painter.restore();
}
