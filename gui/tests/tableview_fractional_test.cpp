// The table at a fractional scale (QT_SCALE_FACTOR, 1.5 unless the run sets
// another): in a round that the library plays for both players, with
// flights, every place that has held a card and holds none now is only the
// table colour in the back buffer, to the last device pixel of its edges.
#include <QTest>
#include <cmath>

#include "link/operations.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

QStringList faults;
Checked<bool, 1, kNumColumns> columnUsed;
int checks = 0;

// The first device pixel off the table colour in what `place` touches, with
// one pixel more all round (a card drawn a pixel off its place leaves that pixel).
void CheckEmpty(const QRect& place, const QString& where) {
    const QImage& buffer = TestView().BackBuffer();
    const qreal ratio = buffer.devicePixelRatio();
    const QRect pixels = QRect(QPoint(int(std::floor(place.left() * ratio)) - 1,
                                      int(std::floor(place.top() * ratio)) - 1),
                               QPoint(int(std::ceil((place.right() + 1) * ratio)),
                                      int(std::ceil((place.bottom() + 1) * ratio)))) &
                         buffer.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if ((buffer.pixel(x, y) & 0xffffffu) != (kTableColour & 0xffffffu)) {
                faults << QStringLiteral("%1: %2, %3").arg(where).arg(x).arg(y);
                return;
            }
}

// Before every request: the columns emptied since they held a pile (to the
// deepest pile with its tag), and a hand that holds no card.
void CheckEmptiedPlaces() {
    ++checks;
    for (int column = 1; column <= kNumColumns; ++column) {
        if (TestView().table.pileDepth[0][column] > 0) columnUsed[column] = true;
        if (TestView().table.pileDepth[0][column] == 0 && columnUsed[column])
            CheckEmpty(PileExtent(column, 8, true), QStringLiteral("column %1").arg(column));
    }
    for (int player = 1; player <= 2; ++player) {
        QRect hand;
        int empty = 0;
        for (int slot = 1; slot <= 4; ++slot) {
            hand |= QRect(HandPlace(player, slot), QSize(kCardWidth, kCardHeight));
            empty += TestView().table.pileDepth[player][slot] == 0;
        }
        if (empty == 4) CheckEmpty(hand, QStringLiteral("hand %1").arg(player));
    }
    faults.removeDuplicates();
}

}  // namespace

class TableViewFractionalTest : public QObject {
    Q_OBJECT

  private slots:
    void emptiedPlacesShowOnlyTheTable() {
        TCasinoGUI* window = OpenTestWindow(true);
        QVERIFY(window);
        QVERIFY(window->devicePixelRatioF() != std::floor(window->devicePixelRatioF()));
        PassThrough::before = [](const std::string&) { CheckEmptiedPlaces(); };
        QVERIFY(PassThrough::Install());
        MessageLog messages;
        TestMirror().settings.delayUnit = 0;
        TestMirror().settings.sound = false;
        TestMirror().playerIsComputer[1] = 1;
        TestMirror().playerIsComputer[2] = 1;
        ConfirmAnswer stop;
        AnswerNextConfirm(false, &stop);  // no second round
        StartNewGame(TestLink(), TestMirror(), TestView());
        QVERIFY(stop.asked);
        CheckEmptiedPlaces();
        QVERIFY(checks > 48);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        PassThrough::before = {};
        CloseTestWindow();
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "1.5");
    CasinoApplication app(argc, argv);
    TableViewFractionalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tableview_fractional_test.moc"
