// The table on a screen of twice the density (QT_SCALE_FACTOR=2): the window
// keeps its logical size, the back buffer has twice the pixels, cards are the
// pictures drawn for that density rather than enlarged ones, and the
// highlight still restores every byte.
#include <QPainter>
#include <QTest>

#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

class TableViewHiDpiTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

    // The device pixels of a card's inside in the back buffer against those of `picture`.
    static bool ShowsPicture(const QPoint& at, const QImage& picture) {
        const QImage& buffer = TestView().BackBuffer();
        for (int y = 8; y < 184; ++y)
            for (int x = 8; x < 134; ++x)
                if ((buffer.pixel(2 * at.x() + x, 2 * at.y() + y) & 0xffffff) !=
                    (picture.pixel(x, y) & 0xffffff))
                    return false;
        return true;
    }

  public:
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

  private slots:
    void init() {
        window = OpenTestWindow();
        QCOMPARE(window->devicePixelRatioF(), 2.0);
    }
    void cleanup() { CloseTestWindow(); }

    void logicalGeometryStays() {
        QCOMPARE(window->Table->size(), QSize(792, 553));
        QCOMPARE(TestView().BackBuffer().size(), QSize(1600, 1200));
        QCOMPARE(TestView().BackBuffer().deviceIndependentSize().toSize(), QSize(800, 600));
        QCOMPARE(TestView().Picture(17).size(), QSize(142, 192));
        QCOMPARE(TestView().CardPosition(0, 3, 2), QPoint(186, 197));
    }

    // The card in the buffer is the ratio-2 picture pixel for pixel, which an
    // enlarged 71 x 96 picture is not.
    void cardsAreDrawnAtTheScreensDensity() {
        TestView().DisplayCard(0, 3, 1, 17, kShow);
        TestView().DisplayCard(1, 2, 1, 58, kShow);
        const QImage face = TestView().Picture(17).toImage();
        QVERIFY(ShowsPicture(TestView().CardPosition(0, 3, 1), face));
        QVERIFY(ShowsPicture(TestView().CardPosition(1, 2, 1), TestView().Picture(58).toImage()));

        QImage enlarged(142, 192, QImage::Format_ARGB32_Premultiplied);
        enlarged.fill(Qt::transparent);
        QPainter painter(&enlarged);
        painter.drawImage(QRect(0, 0, 142, 192),
                          TestView().Picture(17).toImage().scaled(71, 96, Qt::IgnoreAspectRatio,
                                                                  Qt::SmoothTransformation));
        painter.end();
        QVERIFY(!ShowsPicture(TestView().CardPosition(0, 3, 1), enlarged));
        // The corner device pixels belong to the table, as at ratio 1.
        QCOMPARE(TestView().BackBuffer().pixel(2 * 186, 2 * 180), kTableColour);
    }

    void toggleTwiceRestoresTheBuffer() {
        TestView().DisplayCard(0, 5, 1, 3, kShow);
        TestView().DisplayCard(0, 5, 2, 16, kShow);
        const QImage before = TestView().BackBuffer().copy();
        TestView().DisplayCard(0, 5, 2, 1, kToggleHighlight);
        QVERIFY(TestView().BackBuffer() != before);
        // The pile is inverted to its last device pixel, the table outside
        // its rounded corners and beside it is not.
        const QPoint top = TestView().CardPosition(0, 5, 1) * 2;
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(141, 34 + 96)),
                 before.pixel(top + QPoint(141, 34 + 96)) ^ 0x00ffffffu);
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(141, 34 + 191)), kTableColour);
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(142, 40)),
                 before.pixel(top + QPoint(142, 40)));
        TestView().DisplayCard(0, 5, 2, 1, kToggleHighlight);
        QVERIFY(TestView().BackBuffer() == before);
    }

    // A round in which one player takes every card: each whole capture pile
    // stays on the table, clear of the button and the name panels.
    void fullCapturePilesStayOnTheTable() {
        const QStringList faults = CapturePileFaults(*window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    void scoreLabelsFit() {
        const QStringList cramped = CrampedScoreLabels(*window, 3);
        QVERIFY2(cramped.isEmpty(), qPrintable(cramped.join(QStringLiteral("; "))));
    }

    void windowShowsTheBufferAtFullDensity() {
        TestView().DisplayCard(0, 1, 1, 40, kShow);
        const QImage shown = window->Table->grab().toImage();
        QCOMPARE(shown.size(), QSize(1584, 1106));
        for (const QPoint p : {QPoint(50, 400), QPoint(51, 401), QPoint(90, 500)})
            QCOMPARE(shown.pixel(p), TestView().BackBuffer().pixel(p));
    }
};

int main(int argc, char** argv) {
    TableViewHiDpiTest::initMain();
    CasinoApplication app(argc, argv);
    TableViewHiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tableview_hidpi_test.moc"
