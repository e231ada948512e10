// The table at a fractional scale (QT_SCALE_FACTOR, 1.5 unless the run sets
// another): a round that the library plays for both players, with flights,
// after every reply of which each place that has held a card and holds none
// now is nothing but the table colour in the back buffer, down to the last
// device pixel of its edges; and the same once the round has ended.
#include <QTest>
#include <cmath>
#include <set>

#include "link/operations.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

// The device pixels of the back buffer that a place of the table touches,
// with one more all round: a card drawn a pixel off its place leaves that pixel.
QRect Touched(const QRect& place) {
    const qreal ratio = BackBuffer().devicePixelRatio();
    const QRectF r = QRectF(place);
    return QRect(
        QPoint(int(std::floor(r.left() * ratio)) - 1, int(std::floor(r.top() * ratio)) - 1),
        QPoint(int(std::ceil(r.right() * ratio)), int(std::ceil(r.bottom() * ratio))));
}

// "where: x, y" of every pixel in `place` that is not the table colour, the first few.
QStringList StrayPixels(const QRect& place, const QString& where) {
    QStringList stray;
    const QImage& buffer = BackBuffer();
    const QRect pixels = Touched(place) & buffer.rect();
    for (int y = pixels.top(); y <= pixels.bottom() && stray.size() < 3; ++y)
        for (int x = pixels.left(); x <= pixels.right() && stray.size() < 3; ++x)
            if ((buffer.pixel(x, y) & 0xffffffu) != (kTableColour & 0xffffffu))
                stray << QStringLiteral("%1: %2, %3").arg(where).arg(x).arg(y);
    return stray;
}

// The places seen holding a card so far, and what they left behind.
struct EmptiedPlaces {
    std::set<int> columnsUsed;
    QStringList faults;
    int checks = 0;

    void Check() {
        ++checks;
        for (int column = 1; column <= kNumColumns; ++column) {
            if (table.pileDepth[0][column] > 0) {
                columnsUsed.insert(column);
            } else if (columnsUsed.count(column)) {
                // The deepest pile the round can make, with its tag.
                faults << StrayPixels(PileExtent(column, 8, true),
                                      QStringLiteral("column %1").arg(column));
            }
        }
        for (int player = 1; player <= 2; ++player) {
            bool empty = true;
            QRect hand;
            for (int slot = 1; slot <= 4; ++slot) {
                empty = empty && table.pileDepth[player][slot] == 0;
                hand |= QRect(HandPlace(player, slot), QSize(kCardWidth, kCardHeight));
            }
            if (empty) faults << StrayPixels(hand, QStringLiteral("hand %1").arg(player));
        }
        faults.removeDuplicates();
    }
};

EmptiedPlaces emptied;

}  // namespace

class TableViewFractionalTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  public:
    static void initMain() {
        if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "1.5");
    }

  private slots:
    void initTestCase() {
        window = OpenTestWindow(true);
        QVERIFY(window);
        QVERIFY(window->devicePixelRatioF() != std::floor(window->devicePixelRatioF()));
        PassThrough::before = [](const std::string&) { emptied.Check(); };
        QVERIFY(PassThrough::Install());
    }
    void cleanupTestCase() {
        PassThrough::before = {};
        CloseTestWindow();
    }

    void emptiedPlacesShowOnlyTheTable() {
        MessageLog messages;
        settings.animation = true;
        settings.delayUnit = 0;
        settings.sound = false;
        playerIsComputer[1] = 1;
        playerIsComputer[2] = 1;
        ConfirmAnswer stop;
        AnswerNextConfirm(false, &stop);  // no second round
        StartNewGame();
        QVERIFY(stop.asked);
        emptied.Check();
        qInfo("ratio %g, %d checks", window->devicePixelRatioF(), emptied.checks);
        QVERIFY(emptied.checks > 48);
        QVERIFY(emptied.columnsUsed.size() >= 4);
        QVERIFY2(emptied.faults.isEmpty(), qPrintable(emptied.faults.join('\n')));
    }
};

int main(int argc, char** argv) {
    TableViewFractionalTest::initMain();
    CasinoApplication app(argc, argv);
    TableViewFractionalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tableview_fractional_test.moc"
