// The back chooser on a screen of twice the density (QT_SCALE_FACTOR=2): the
// chooser picture has twice the pixels, its backs are the pictures drawn for
// that density rather than enlarged ones, the dialog shows it at its place,
// and moving the tick away still restores every pixel.
#include <QTest>

#include "core/mirror.h"
#include "dialogs/newgamebox.h"
#include "pictures.h"
#include "test_support.h"
#include "window/application.h"

class NewGameBoxHiDpiTest : public QObject {
    Q_OBJECT

  public:
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

  private slots:
    void init() { NewTestGame(); }

    void chooserAtTwiceTheDensity() {
        TestMirror().settings.backRank = '3';  // the tick on the second back
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.devicePixelRatioF(), 2.0);
        QCOMPARE(box.size(), QSize(498, 414));
        const QImage chooser = box.ChooserPicture();
        QCOMPARE(chooser.devicePixelRatio(), 2.0);
        QCOMPARE(chooser.size(), QSize(932, 400));

        // The first back, inside its rounded corners, is picture 54 as drawn for ratio 2.
        const QImage back = pictures::Picture(54, 2.0).toImage();
        QCOMPARE(back.size(), QSize(142, 192));
        for (int y = 8; y < 184; ++y)
            for (int x = 8; x < 134; ++x)
                QCOMPARE(chooser.pixel(x, y) & 0xffffffu, back.pixel(x, y) & 0xffffffu);

        const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(996, 828));
        const QImage place = shown.copy(QRect(2 * box.ChooserPlace(), QSize(932, 400)));
        QVERIFY(place == chooser);

        QTest::mouseClick(&box, Qt::LeftButton, {}, box.ChooserPlace() + QPoint(420, 150));
        QCOMPARE(box.ChosenBack(), 13);
        QVERIFY(box.ChooserPicture() != chooser);
        QTest::mouseClick(&box, Qt::LeftButton, {}, box.ChooserPlace() + QPoint(100, 50));
        QCOMPARE(box.ChosenBack(), 3);
        QVERIFY(box.ChooserPicture() == chooser);
    }
};

int main(int argc, char** argv) {
    NewGameBoxHiDpiTest::initMain();
    CasinoApplication app(argc, argv);
    NewGameBoxHiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "newgamebox_hidpi_test.moc"
