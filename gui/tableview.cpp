// The table mirror, the back buffer and the drawing of reply items.
//
// What stands here: CardPicture, CardPosition, the mirror bookkeeping of
// DisplayCard with plain drawing (copy, erase, highlight by exclusive-or),
// ClearTable, the score labels and the remaining-cards rows. The table view
// still to come supplies the card mask, the tags, the card flights and the
// slide of the remaining-cards panel (DrawTag, AnimateCard,
// RemainingCardsButtonClick, RemainingCardsClick).
#include "tableview.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>

#include "casinogui.h"

#ifdef CASINO_HAVE_PICTURES
#include "pictures.h"
#endif

TableMirror table;

namespace {

constexpr int kPileStep = 17;
constexpr int kTableTop = 180;
constexpr int kHandTop = 25;
constexpr int kCaptureTop = 450;
constexpr int kTagHeight = 14;

// Made on first use: pixmaps need the application object.
Checked<QPixmap, 1, 102>& PictureSet() {
    static Checked<QPixmap, 1, 102> pictureSet;
    return pictureSet;
}
QImage backBuffer;

qreal BufferRatio() {
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

void DrawPicture(const QPoint& at, int picture) {
    const QPixmap& image = Picture(picture);
    QPainter painter(&BackBuffer());
    if (image.isNull()) {
        // No artwork in this build: a white card with a thin outline.
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(at.x(), at.y(), kCardWidth - 1, kCardHeight - 1);
        return;
    }
    painter.drawPixmap(at, image);
}

void FillTableColour(const QRect& area) {
    QPainter painter(&BackBuffer());
    painter.fillRect(area, QColor(kTableColour));
}

}  // namespace

int CardPicture(char rank, char suit) {
    int value = 0;
    if (rank >= '2' && rank <= '9') value = rank - '0';
    switch (rank) {
        case 'T':
            value = 10;
            break;
        case 'J':
            value = 11;
            break;
        case 'Q':
            value = 12;
            break;
        case 'K':
            value = 13;
            break;
        case 'A':
            value = 1;
            break;
        default:
            break;
    }
    int offset = 0;
    switch (suit) {
        case 'c':
        case 'C':
            offset = 0;
            break;
        case 'd':
        case 'D':
            offset = 13;
            break;
        case 'h':
        case 'H':
            offset = 26;
            break;
        case 's':
        case 'S':
            offset = 39;
            break;
        case 'b':
        case 'B':
            offset = 52;
            break;
        default:
            offset = 0;
            break;
    }
    if (value == 0) return 0;
    return value + offset;
}

QPoint CardPosition(int area, int column, int depth) {
    switch (area) {
        case 0:
            return {87 * column - 75, kTableTop + kPileStep * (depth - 1)};
        case 1:
            return {25 + kCardWidth * (column - 1), kHandTop};
        case 2:
            return {483 + kCardWidth * (column - 1), kHandTop};
        case 3:
            return {25 + 3 * table.captureCount[3], kCaptureTop};
        case 4:
            return {570 + 3 * table.captureCount[4], kCaptureTop};
        case 5:
            return {365, kCaptureTop};
        default:
            CheckRange(area, 0, 5, "area");
            return {};
    }
}

void LoadPictures() {
#ifdef CASINO_HAVE_PICTURES
    const qreal ratio = BufferRatio();
    for (int n = 1; n <= 65; ++n)
        PictureSet()[n] = pictures::Picture(n, ratio);
    PictureSet()[101] = pictures::Picture(101, ratio);
    PictureSet()[102] = pictures::Picture(102, ratio);
    PictureSet()[100] = pictures::Picture(100, ratio);
#endif
}

const QPixmap& Picture(int number) {
    return PictureSet()[number];
}

QImage& BackBuffer() {
    if (backBuffer.isNull()) ClearTable();
    return backBuffer;
}

void ClearTable() {
    table = TableMirror{};
    const qreal ratio = BufferRatio();
    backBuffer =
        QImage(int(kBackBufferWidth * ratio), int(kBackBufferHeight * ratio), QImage::Format_RGB32);
    backBuffer.setDevicePixelRatio(ratio);
    QPainter painter(&backBuffer);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(kTableColour));
    painter.drawRect(0, 0, kBackBufferWidth - 1, kBackBufferHeight - 1);
}

void DisplayCard(int area, int column, int depth, int picture, int mode) {
    const QPoint at = CardPosition(area, column, depth);
    if (picture == 0) mode = kErase;
    if (area == 3 || area == 4) table.captureCount[area] += 1;
    switch (mode) {
        case kShow:
            if (table.highlight[area][column] == 1)
                DisplayCard(area, column, depth - 1, picture, kToggleHighlight);
            DrawPicture(at, picture);
            table.pileDepth[area][column] = depth;
            if (area == 0) table.pileCards[column][depth] = picture;
            if (area == 1 || area == 2) table.handCards[area][column] = picture;
            break;
        case kErase:
            FillTableColour(QRect(at.x(), at.y(), kCardWidth, kCardHeight));
            table.pileDepth[area][column] = 0;
            table.highlight[area][column] = 0;
            if (area == 0) table.pileCards[column][depth] = 0;
            if (area == 1 || area == 2) table.handCards[area][column] = 0;
            if (depth > 1) {
                DisplayCard(area, column, depth - 1, table.pileCards[column][depth - 1], kShow);
                const int firstTop = CardPosition(area, column, 1).y();
                FillTableColour(QRect(at.x(), firstTop - kTagHeight, kCardWidth, kTagHeight));
            }
            break;
        case kToggleHighlight: {
            QPainter painter(&BackBuffer());
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            const int top = at.y() - kPileStep * (depth - 1);
            painter.fillRect(QRect(at.x(), top, kCardWidth, at.y() + kCardHeight - top), Qt::white);
            table.highlight[area][column] = 1 - table.highlight[area][column];
            break;
        }
        default:
            break;
    }
    ShowBackBuffer();
}

void ShowBackBuffer() {
    if (CasinoGUI) CasinoGUI->ShowBackBuffer();
}

void DrawTag(int column, char letter) {
    // The tag strip with its letter comes with the table view.
    Q_UNUSED(column);
    Q_UNUSED(letter);
}

void AnimateCard(int fromArea, int toArea, int picture, int fromColumn, int fromDepth, int toColumn,
                 int toDepth) {
    // The card's flight comes with the table view; the card items that follow
    // in the reply draw the card at its destination either way.
    Q_UNUSED(fromArea);
    Q_UNUSED(toArea);
    Q_UNUSED(picture);
    Q_UNUSED(fromColumn);
    Q_UNUSED(fromDepth);
    Q_UNUSED(toColumn);
    Q_UNUSED(toDepth);
}

void ShowRemainingCards(char suit, int mask) {
    if (!CasinoGUI) return;
    QString row = QStringLiteral("2 3 4 5 6 7 8 9 T J Q K A");
    for (int k = 0; k < 13; ++k)
        if ((mask & (1 << k)) == 0) row[2 * k] = QLatin1Char(' ');
    QLabel* label = nullptr;
    QString title;
    switch (suit) {
        case 'c':
        case 'C':
            label = CasinoGUI->RemainClubs;
            title = QStringLiteral("Clubs:      ");
            break;
        case 'd':
        case 'D':
            label = CasinoGUI->RemainDiamonds;
            title = QStringLiteral("Diamonds:   ");
            break;
        case 'h':
        case 'H':
            label = CasinoGUI->RemainHearts;
            title = QStringLiteral("Hearts:     ");
            break;
        case 's':
        case 'S':
            label = CasinoGUI->RemainSpades;
            title = QStringLiteral("Spades:     ");
            break;
        default:
            return;
    }
    label->setText(title + row);
}

void ShowScores(int player, const ScoreRecord& values) {
    if (!CasinoGUI) return;
    TCasinoGUI& w = *CasinoGUI;
    QLabel* labels1[] = {w.Aces1,   w.TwoSpades1, w.TenDiamonds1, w.Sweeps1,
                         w.Spades1, w.Cards1,     w.Points1};
    QLabel* labels2[] = {w.Aces2,   w.TwoSpades2, w.TenDiamonds2, w.Sweeps2,
                         w.Spades2, w.Cards2,     w.Points2};
    QLabel** labels = player == 1 ? labels1 : labels2;
    const int numbers[] = {values.aces,   values.twoSpades, values.tenDiamonds, values.sweeps,
                           values.spades, values.cards,     values.points};
    for (int i = 0; i < 7; ++i)
        labels[i]->setText(QString::number(numbers[i]));
}

void RemainingCardsButtonClick() {
    // The panel's slide comes with the table view.
}

void RemainingCardsClick() {
    // The panel's slide comes with the table view.
}
