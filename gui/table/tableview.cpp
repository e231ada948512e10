// The table mirror, the back buffer and the drawing of reply items.
//
// The back buffer is an image of 800 x 600 logical pixels at the window's
// device pixel ratio, and the card pictures are taken at the same ratio, so
// that a high-density screen gets cards drawn at its own density rather than
// enlarged. At ratio 1 every picture is exactly 71 x 96 pixels.
#include "table/tableview.h"

#include <QAction>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QThread>
#include <QVariant>
#include <algorithm>

#include "table/cardpixels.h"
#include "table/notedraw.h"

#ifdef CASINO_HAVE_PICTURES
#include "pictures.h"
#endif

const char kStartNote[] = "New Game (F2) starts a game";

namespace {

constexpr int kMaskPicture = 100;
constexpr int kTagPlayer1 = 101;
constexpr int kTagPlayer2 = 102;
constexpr int kAnimationSteps = 5;
constexpr QRgb kSilver = qRgb(192, 192, 192);

// The widget property that names the view attached to a table widget.
constexpr char kViewProperty[] = "casinoTableView";

void Pause(int ms) {
    if (ms > 0) QThread::msleep(unsigned(ms));
}

}  // namespace

void TableView::TellWatcher() {
    if (watcher_) watcher_(*this);
}

// Hint does something only while a hand that a person plays shows a card:
// before a game, after a stopped or finished one, it looks disabled.
void TableView::ShowHintAvailable() {
    bool available = false;
    for (int player = 1; player <= 2; ++player)
        for (int slot = 1; slot <= 4; ++slot)
            available = available || (ShownMirror().playerIsComputer[player] == 0 &&
                                      table.pileDepth[player][slot] > 0);
    if (widgets_.hint) widgets_.hint->setEnabled(available);
    if (widgets_.hintAction) widgets_.hintAction->setEnabled(available);
}

// The back buffer is made at the window's ratio; before the window is there
// (a table cleared at start), at the application's.
qreal TableView::BufferRatio() const {
    if (widgets_.surface) return widgets_.surface->devicePixelRatioF();
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

// Picture `number` at the given ratio: the one loaded at start when it
// matches, else the set's own (cached) rendering at that ratio.
QPixmap TableView::PictureAt(int number, qreal ratio) const {
    const QPixmap& loaded = Picture(number);
#ifdef CASINO_HAVE_PICTURES
    if (loaded.isNull() || !qFuzzyCompare(loaded.devicePixelRatio(), ratio))
        return pictures::Picture(number, ratio);
#else
    Q_UNUSED(ratio);
#endif
    return loaded;
}

// Card picture n through the card mask, at `ratio`.
QImage TableView::MaskedPicture(int picture, qreal ratio) const {
    CheckRange(picture, 1, 65, "card picture");
    return ::MaskedCard(PictureAt(picture, ratio), PictureAt(kMaskPicture, ratio), ratio);
}

// Draws a card with its mask at `at` (logical pixels) through `painter`:
// the card in flight over the window.
void TableView::DrawMaskedCard(QPainter& painter, const QPoint& at, int picture,
                               qreal ratio) const {
    const QImage layer = MaskedPicture(picture, ratio);
    if (layer.isNull()) {
        // No artwork in this build: a white card with a thin outline.
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(at.x(), at.y(), kCardWidth - 1, kCardHeight - 1);
        return;
    }
    painter.drawImage(at, layer);
}

// A card with its mask at its place in the back buffer.
void TableView::DrawPicture(const QPoint& at, int picture) {
    BufferPixels pixels(BackBuffer());
    const QImage layer = MaskedPicture(picture, pixels.Ratio());
    if (layer.isNull()) {
        const QRect card = pixels.Pixels(CardRect(at));
        pixels.Painter().setPen(Qt::black);
        pixels.Painter().setBrush(Qt::white);
        pixels.Painter().drawRect(card.adjusted(0, 0, -1, -1));
        return;
    }
    pixels.Draw(CardRect(at), layer);
}

void TableView::FillTableColour(const QRect& area) {
    BufferPixels pixels(BackBuffer());
    pixels.Fill(area, QColor(kTableColour));
}

// Gives a card's place what lies under it before a card is shown there: the
// table colour for a hand slot or the single spot, the cards below for a table
// pile. A card's smooth edge then always falls on the same background, so a
// card shown again looks exactly as it did. Capture piles fan out to the right
// and never show a card twice in one place.
void TableView::ClearPlace(int area, int column, int depth) {
    if (IsCaptureArea(area)) return;
    const QPoint at = CardPosition(area, column, depth);
    if (area != kPilesArea) {
        FillTableColour(QRect(at.x(), at.y(), kCardWidth, kCardHeight));
        return;
    }
    // The pile from its first card down to the bottom of this place.
    const int top = CardPosition(0, column, 1).y();
    FillTableColour(QRect(at.x(), top, kCardWidth, at.y() + kCardHeight - top));
    for (int below = 1; below < depth; ++below)
        if (const int picture = table.pileCards[column][below]; picture != 0)
            DrawPicture(CardPosition(0, column, below), picture);
}

// The extent of a table pile or capture pile as the mirror shows it now; empty for a hand.
QRect TableView::PlaceExtent(int area, int column) const {
    if (area == kPilesArea)
        return PileExtent(column, table.pileDepth[0][column], table.tagShown[column] == 1);
    if (IsCaptureArea(area)) return CapturePileExtent(area, table.captureCount[area]);
    return {};
}

void TableView::Note(int area, int column) {
    if (!noting_) return;
    if (area == kPilesArea) noted_[0][column] |= PlaceExtent(0, column);
    if (IsCaptureArea(area)) noted_[area][1] |= PlaceExtent(area, column);
}

bool TableView::NoTablePile() const {
    for (int column = 1; column <= kNumColumns; ++column)
        if (table.pileDepth[0][column] > 0) return false;
    return true;
}

// A capture pile past its room, drawn afresh: every card at its place in the
// pile as it is now.
void TableView::DrawCapturePile(int area) {
    FillTableColour(CaptureRoom(area));
    const int count = table.captureCount[area];
    for (int index = 0; index < count && index < kCapturedMost; ++index)
        if (const int picture = table.capturedCards[area][index + 1])
            DrawPicture(CapturePlace(area, index, count), picture);
}

// True when a table pile or capture pile that shows cards now lies within `place`.
bool TableView::ShowsCards(const QRect& place) const {
    for (int column = 1; column <= kNumColumns; ++column)
        if (place.intersects(PlaceExtent(0, column))) return true;
    return place.intersects(PlaceExtent(3, 1)) || place.intersects(PlaceExtent(4, 1));
}

// The outlines of the marked places, just outside their edges, on the green;
// but not the outline of an emptied place where a note is drawn (`noteBand`),
// which would cross its words.
void TableView::DrawMarks(QPainter& painter, const QRect& noteBand) const {
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen{QColor(kMarkColour)};
    pen.setWidthF(kMarkWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal out = kMarkGap + kMarkWidth / 2.0;
    for (const QRect& place : marks_) {
        const QRect outline =
            place.adjusted(-kOutlineRoom, -kOutlineRoom, kOutlineRoom, kOutlineRoom);
        if (outline.intersects(noteBand) && !ShowsCards(place)) continue;
        painter.drawRoundedRect(QRectF(place).adjusted(-out, -out, out, out), 6, 6);
    }
}

// The table widget and its window both name the view: the window's own
// accessible parts (the score sheet, the panel's button) find it by the window.
void TableView::AttachWidgets(const TableWidgets& attached) {
    const QVariant self = QVariant::fromValue(static_cast<void*>(this));
    if (widgets_.surface) {
        widgets_.surface->setProperty(kViewProperty, QVariant());
        widgets_.surface->window()->setProperty(kViewProperty, QVariant());
    }
    widgets_ = attached;
    if (widgets_.surface) {
        widgets_.surface->setProperty(kViewProperty, self);
        widgets_.surface->window()->setProperty(kViewProperty, self);
    }
    NameScoreSheet();
    ShowHintAvailable();
}

const TableView& ViewOf(const QWidget* surface) {
    static const GameMirror noGame;
    static const TableView none(noGame);
    const void* view = surface ? surface->property(kViewProperty).value<void*>() : nullptr;
    return view ? *static_cast<const TableView*>(view) : none;
}

QPoint TableView::TableToGlobal(const QPoint& at) const {
    return widgets_.surface->mapToGlobal(at);
}

int TableView::DeepestPile() const {
    int deepest = 0;
    for (int column = 1; column <= kNumColumns; ++column)
        deepest = std::max(deepest, table.pileDepth[0][column]);
    return deepest;
}

QPoint TableView::CardPosition(int area, int column, int depth) const {
    const int captured = IsCaptureArea(area) ? table.captureCount[area] : 0;
    return CardPlace(area, column, depth, captured);
}

void TableView::LoadPictures() {
#ifdef CASINO_HAVE_PICTURES
    const qreal ratio = BufferRatio();
    for (int n = 1; n <= 65; ++n)
        pictures_[n] = pictures::Picture(n, ratio);
    pictures_[101] = pictures::Picture(101, ratio);
    pictures_[102] = pictures::Picture(102, ratio);
    pictures_[100] = pictures::Picture(100, ratio);
#endif
}

QImage& TableView::BackBuffer() {
    if (backBuffer_.isNull()) ClearTable();
    return backBuffer_;
}

void TableView::ClearTable() {
    table = TableMirror{};
    noting_ = false;
    marks_.clear();
    words_.clear();
    const qreal ratio = BufferRatio();
    backBuffer_ =
        QImage(int(kBackBufferWidth * ratio), int(kBackBufferHeight * ratio), QImage::Format_RGB32);
    backBuffer_.setDevicePixelRatio(ratio);
    QPainter painter(&backBuffer_);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(kTableColour));
    painter.drawRect(0, 0, kBackBufferWidth - 1, kBackBufferHeight - 1);
    painter.end();
    ShowHintAvailable();
    TellWatcher();
}

void TableView::DisplayCard(int area, int column, int depth, int picture, int mode) {
    const QPoint at = CardPosition(area, column, depth);
    if (picture == 0) mode = kErase;
    if (mode != kToggleHighlight) Note(area, column);
    if (IsCaptureArea(area)) table.captureCount[area] += 1;
    switch (mode) {
        case kShow:
            // The highlight comes off over the rectangle it was put on: the pile
            // up to its old top card, or the one card of a hand slot.
            if (table.highlight[area][column] == 1)
                DisplayCard(area, column, area == kPilesArea ? depth - 1 : depth, picture,
                            kToggleHighlight);
            ClearPlace(area, column, depth);
            if (IsCaptureArea(area)) {
                const int count = table.captureCount[area];
                table.capturedCards[area][count] = picture;
                if (count > CaptureFullStepCards(area)) {
                    DrawCapturePile(area);
                } else {
                    DrawPicture(at, picture);
                }
            } else {
                DrawPicture(at, picture);
            }
            if (tableNote_ == QLatin1String(kStartNote)) SetTableNote(QString());
            table.pileDepth[area][column] = depth;
            if (area == kPilesArea) table.pileCards[column][depth] = picture;
            if (IsHandArea(area)) table.handCards[area][column] = picture;
            if (IsHandArea(area)) ShowHintAvailable();
            break;
        case kErase:
            FillTableColour(QRect(at.x(), at.y(), kCardWidth, kCardHeight));
            table.pileDepth[area][column] = 0;
            table.highlight[area][column] = 0;
            if (area == kPilesArea) table.pileCards[column][depth] = 0;
            if (IsHandArea(area)) table.handCards[area][column] = 0;
            if (IsHandArea(area)) ShowHintAvailable();
            if (depth > 1) {
                DisplayCard(area, column, depth - 1, table.pileCards[column][depth - 1], kShow);
                // The tag above the pile goes with its top card.
                const int firstTop = CardPosition(area, column, 1).y();
                FillTableColour(QRect(at.x(), firstTop - kTagHeight, kCardWidth, kTagHeight));
                if (area == kPilesArea) {
                    table.tagShown[column] = 0;
                    table.tagLetter[column] = 0;
                }
            }
            break;
        case kToggleHighlight: {
            // Exclusive-or with white over the pile's outline: the same
            // outline drawn again gives back the picture exactly.
            BufferPixels pixels(BackBuffer());
            const QPoint first = at - QPoint(0, kPileStep * (depth - 1));
            const QImage outline =
                PileOutline(pixels, PictureAt(kMaskPicture, pixels.Ratio()), first, at);
            QPainter& painter = pixels.Painter();
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            const QRect pile = pixels.Pixels(CardRect(first)) | pixels.Pixels(CardRect(at));
            if (outline.isNull())
                painter.fillRect(pile, Qt::white);
            else
                painter.drawImage(pile.topLeft(), outline);
            table.highlight[area][column] = 1 - table.highlight[area][column];
            break;
        }
        default:
            break;
    }
    if (mode != kToggleHighlight) Note(area, column);
    ShowBackBuffer();
}

void TableView::ShowBackBuffer() {
    widgets_.surface->repaint();
    TellWatcher();
}

void TableView::PaintTable(QPainter& painter) {
    painter.drawImage(0, 0, BackBuffer());
    for (const ShownKey& shown : ShownPileKeys())
        DrawKeyPlate(painter, shown.at, shown.key);
    if (!marks_.empty() || !words_.isEmpty() || !tableNote_.isEmpty()) {
        painter.save();
        // On the band of the words the note takes the lower half while words show.
        const bool noteOnFirstRow = NoTablePile();
        QRect wordsBand = WordsBand();
        QRect noteBand;
        if (!tableNote_.isEmpty() && !noteOnFirstRow && !words_.isEmpty()) {
            noteBand = wordsBand;
            wordsBand.setBottom(wordsBand.center().y());
            noteBand.setTop(wordsBand.bottom() + 1);
        } else if (!tableNote_.isEmpty()) {
            noteBand = noteOnFirstRow ? FirstRowBand() : wordsBand;
        }
        DrawMarks(painter, noteBand);
        if (!noteBand.isNull()) DrawNote(painter, noteBand, tableNote_);
        if (!words_.isEmpty()) DrawNote(painter, wordsBand, words_);
        painter.restore();
    }
    if (flight_.active)
        DrawMaskedCard(painter, flight_.at, flight_.picture, painter.device()->devicePixelRatioF());
}

void TableView::DrawTag(int column, char letter) {
    const QRect tag = TagRect(column);
    const bool first = ShownMirror().CurrentPlayer() == 1;
    const int strip = first ? kTagPlayer1 : kTagPlayer2;
    const int letterOffset = first ? 5 : kCardWidth - kTagHeight;

    {
        BufferPixels pixels(BackBuffer());
        const QPixmap picture = PictureAt(strip, pixels.Ratio());
        if (picture.isNull())
            pixels.Fill(tag, QColor(kSilver));
        else
            pixels.Draw(tag, picture.toImage());
    }

    // A bold letter as tall as the strip allows, black on an opaque silver
    // cell cut to the letter's own ink, so that no part of it (the hook of a
    // "J") is clipped away.
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kTagHeight - 2);
    font.setBold(true);
    const QString text(QChar::fromLatin1(letter));
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);
    const QRect cell(tag.x() + letterOffset, tag.y() + 1, ink.width() + 2, kTagHeight - 2);
    QPainter painter(&BackBuffer());
    painter.setFont(font);
    painter.fillRect(cell, QColor(kSilver));
    painter.setPen(Qt::black);
    painter.drawText(QPoint(cell.left() + 1 - ink.left(),
                            cell.top() + (cell.height() - ink.height()) / 2 - ink.top()),
                     text);
    painter.end();
    if (column >= 1 && column <= kNumColumns) {
        table.tagShown[column] = 1;
        table.tagLetter[column] = letter;
        Note(0, column);
    }
    ShowBackBuffer();
}

void TableView::AnimateCard(int fromArea, int toArea, int picture, int fromColumn, int fromDepth,
                            int toColumn, int toDepth) {
    const QPoint p1 = CardPosition(fromArea, fromColumn, fromDepth);
    const QPoint p2 = CardPosition(toArea, toColumn, toDepth);
    // Integer division truncates toward zero, as the steps must.
    const QPoint step((p2.x() - p1.x()) / kAnimationSteps, (p2.y() - p1.y()) / kAnimationSteps);
    CheckRange(picture, 1, 65, "card picture");
    for (int i = 1; i < kAnimationSteps; ++i) {
        flight_ = FlightFrame{true, picture, p1 + i * step};
        widgets_.surface->repaint();  // shown during a pause that blocks the event loop
        Pause(ShownMirror().settings.delayUnit / 4);
        flight_ = FlightFrame{};
        ShowBackBuffer();  // the window shows the back buffer alone again
    }
}

std::vector<ShownKey> TableView::ShownPileKeys() const {
    std::vector<ShownKey> keys;
    for (int column = 1; column <= kNumColumns; ++column)
        if (table.pileDepth[0][column] > 0) keys.push_back({PileKeyRect(column), PileKey(column)});
    return keys;
}

void TableView::BeginMoveMarks() {
    for (int area = kPilesArea; area <= kCaptureArea2; ++area)
        noted_[area].Fill(QRect());
    noting_ = true;
}

void TableView::ShowMoveMarks(const QString& text) {
    noting_ = false;
    marks_.clear();
    for (int area = kPilesArea; area <= kCaptureArea2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            if (!noted_[area][column].isNull()) marks_.push_back(noted_[area][column]);
    words_ = text;
    ShowBackBuffer();
}

void TableView::ClearMoveMarks() {
    if (marks_.empty() && words_.isEmpty()) return;
    marks_.clear();
    words_.clear();
    ShowBackBuffer();
}

void TableView::SetTableNote(const QString& text) {
    if (text == tableNote_) return;
    tableNote_ = text;
    if (widgets_.surface) ShowBackBuffer();
}

void TableView::SetTableWatcher(void (*tableWatcher)(TableView&)) {
    watcher_ = tableWatcher;
}

void TableView::NotifyTableWatcher() {
    TellWatcher();
}
