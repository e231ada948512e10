// Drawing the table: cards through the mask, the three modes of DisplayCard
// checked against tables drawn afresh, the capture piles, the tags, a card's
// flight on the window, the remaining-cards panel and the window's paint.
#include "table/tableview.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <climits>

#include "core/mirror.h"
#include "table/remainingpanel.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

QImage PictureImage(int number) {
    return TestView().Picture(number).toImage().convertToFormat(
        QImage::Format_ARGB32_Premultiplied);
}

// True when the back buffer shows picture `number` with its top left corner
// at `at`, over the rows first..last of the card (away from the rounded
// corners and the smooth edge, where what lies below shows through).
bool ShowsCard(const QPoint& at, int number, int first = 4, int last = 91) {
    const QImage card = PictureImage(number);
    const QImage& buffer = TestView().BackBuffer();
    for (int y = first; y <= last; ++y)
        for (int x = 4; x < kCardWidth - 4; ++x)
            if ((buffer.pixel(at.x() + x, at.y() + y) & 0xffffff) != (card.pixel(x, y) & 0xffffff))
                return false;
    return true;
}

// Counts paints of the table and notes the card in flight at each.
class PaintWatch : public QObject {
  public:
    QList<FlightFrame> frames;
    int paints = 0;
    QList<QRgb> windowPixels;  // the window's pixel at each flying card's centre

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const FlightFrame frame = TestView().CardInFlight();
            if (frame.active) {
                // What this paint puts on the window.
                frames << frame;
                QImage shown(800, 600, QImage::Format_RGB32);
                QPainter painter(&shown);
                TestView().PaintTable(painter);
                windowPixels << shown.pixel(frame.at + QPoint(35, 48));
            }
        }
        Q_UNUSED(watched);
        return false;
    }
};

}  // namespace

class TableViewTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  private slots:
    void init() { window = FreshTest(); }
    void cleanup() { CloseTestWindow(); }

    // Each window draws on a table of its own, and its table widget leads to it.
    void windowsKeepTheirOwnTables() {
        DealPile(1, 2);
        TCasinoGUI other;
        StandIn::Attach(other.TheGame().link);
        TableView& otherView = other.TheGame().view;
        otherView.DisplayCard(0, 5, 1, 7, kShow);
        QCOMPARE(TestView().table.pileDepth[0][5], 0);
        QCOMPARE(otherView.table.pileDepth[0][1], 0);
        otherView.SetTableNote(QStringLiteral("other"));
        QVERIFY(TestView().TableNote().isEmpty());
        QCOMPARE(&ViewOf(window->Table), &TestView());
        QCOMPARE(&ViewOf(other.Table), &otherView);
    }

    void picturesAreLoaded() {
        for (int n : {1, 52, 53, 65, 100})
            QCOMPARE(TestView().Picture(n).deviceIndependentSize().toSize(), QSize(71, 96));
        QCOMPARE(TestView().Picture(101).deviceIndependentSize().toSize(), QSize(71, 14));
        QCOMPARE(TestView().Picture(102).deviceIndependentSize().toSize(), QSize(71, 14));
        QCOMPARE(TestView().BackBuffer().size(), QSize(800, 600));
    }

    // The mask clears a card's corners, so the table (or the card below) shows there.
    void cardsAreDrawnThroughTheMask() {
        TestView().DisplayCard(1, 2, 1, 40, kShow);
        const QPoint at = TestView().CardPosition(1, 2, 1);
        QCOMPARE(at, QPoint(96, 25));
        QVERIFY(ShowsCard(at, 40));
        QCOMPARE(TestView().BackBuffer().pixel(at), kTableColour);
        QCOMPARE(TestView().BackBuffer().pixel(at + QPoint(70, 95)), kTableColour);

        DealPile(5, {1});
        const QPoint second = TestView().CardPosition(0, 5, 2);
        QCOMPARE(second, QPoint(360, 197));
        const QRgb belowCorner = TestView().BackBuffer().pixel(second);
        TestView().DisplayCard(0, 5, 2, 14, kShow);
        QVERIFY(ShowsCard(second, 14));
        QVERIFY(
            ShowsCard(TestView().CardPosition(0, 5, 1), 1, 4, 16));  // the strip of the card below
        QCOMPARE(TestView().BackBuffer().pixel(second), belowCorner);
    }

    // Taking the top card of a pile of three shows the second card again and
    // paints over the tag: the table then looks exactly as if only two cards
    // had ever been dealt there.
    void eraseAtDepthThree() {
        DealPile(4, {5, 18});
        const QImage twoCards = TestView().BackBuffer().copy();

        TestView().ClearTable();
        DealPile(4, {5, 18, 31});
        TestView().DrawTag(4, '8');
        QVERIFY(TestView().BackBuffer() != twoCards);
        TestView().DisplayCard(0, 4, 3, 0, kShow);  // picture 0 erases, whatever the mode
        QCOMPARE(TestView().table.pileDepth[0][4], 2);
        QCOMPARE(TestView().table.pileCards[4][3], 0);
        QCOMPARE(TestView().table.pileCards[4][2], 18);
        QVERIFY(TestView().BackBuffer() == twoCards);
    }

    // A card shown again in its place (a hand in a new back, a pile's card
    // shown again after the card above it went) looks exactly as before.
    void showingAgainChangesNothing() {
        DealPile(3, {3, 16, 29});
        TestView().DisplayCard(2, 1, 1, 58, kShow);
        const QImage before = TestView().BackBuffer().copy();
        TestView().DisplayCard(0, 3, 3, 29, kShow);
        TestView().DisplayCard(0, 3, 2, 16, kShow);
        TestView().DisplayCard(0, 3, 3, 29, kShow);
        TestView().DisplayCard(2, 1, 1, 58, kShow);
        QVERIFY(TestView().BackBuffer() == before);
    }

    void eraseAHandCard() {
        TestView().DisplayCard(2, 3, 1, 58, kShow);
        QCOMPARE(TestView().table.handCards[2][3], 58);
        TestView().DisplayCard(2, 3, 1, 0, kShow);
        QCOMPARE(TestView().table.pileDepth[2][3], 0);
        QCOMPARE(TestView().table.handCards[2][3], 0);
        QCOMPARE(TestView().BackBuffer().pixel(TestView().CardPosition(2, 3, 1) + QPoint(35, 48)),
                 kTableColour);
    }

    // Showing a card on a highlighted pile takes the highlight off first.
    void showOnAHighlightedPile() {
        DealPile(2, {7, 20});
        const QImage expected = TestView().BackBuffer().copy();

        TestView().ClearTable();
        DealPile(2, {7});
        TestView().DisplayCard(0, 2, 1, 1, kToggleHighlight);
        QCOMPARE(TestView().table.highlight[0][2], 1);
        TestView().DisplayCard(0, 2, 2, 20, kShow);
        QCOMPARE(TestView().table.highlight[0][2], 0);
        QVERIFY(TestView().BackBuffer() == expected);
    }

    // The same for a hand slot: the highlight comes off the whole card.
    void showOnAHighlightedHandSlot() {
        TestView().DisplayCard(1, 1, 1, 3, kShow);
        TestView().DisplayCard(1, 1, 1, 9, kShow);
        const QImage expected = TestView().BackBuffer().copy();

        TestView().ClearTable();
        TestView().DisplayCard(1, 1, 1, 3, kShow);
        TestView().DisplayCard(1, 1, 1, 1, kToggleHighlight);
        TestView().DisplayCard(1, 1, 1, 9, kShow);
        QCOMPARE(TestView().table.highlight[1][1], 0);
        QVERIFY(TestView().BackBuffer() == expected);
    }

    // The highlight inverts the whole pile but not the table outside its
    // rounded corners; twice restores every byte.
    void toggleTwiceRestoresTheBuffer() {
        DealPile(6, {11, 24, 37});
        TestView().DisplayCard(2, 4, 1, 60, kShow);
        const QImage before = TestView().BackBuffer().copy();

        TestView().DisplayCard(0, 6, 3, 1, kToggleHighlight);
        const QPoint top = TestView().CardPosition(0, 6, 1);
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(35, 5)),
                 before.pixel(top + QPoint(35, 5)) ^ 0x00ffffffu);
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(70, 34 + 48)),
                 before.pixel(top + QPoint(70, 34 + 48)) ^ 0x00ffffffu);
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(70, 0), QPoint(0, 34 + 95), QPoint(70, 34 + 95)})
            QCOMPARE(TestView().BackBuffer().pixel(top + corner), kTableColour);
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(71, 40)),
                 before.pixel(top + QPoint(71, 40)));
        QCOMPARE(TestView().BackBuffer().pixel(top + QPoint(35, 34 + 96)),
                 before.pixel(top + QPoint(35, 34 + 96)));
        TestView().DisplayCard(0, 6, 3, 1, kToggleHighlight);
        QCOMPARE(TestView().table.highlight[0][6], 0);
        QVERIFY(TestView().BackBuffer() == before);

        // Where the table shows through a card's corner more than the card,
        // it keeps its colour: no garish specks at the rounded corners.
        TestView().DisplayCard(2, 4, 1, 1, kToggleHighlight);
        const QPoint slot = TestView().CardPosition(2, 4, 1);
        const QImage card = PictureImage(60);
        for (int y = 0; y < kCardHeight; ++y)
            for (int x = 0; x < kCardWidth; ++x)
                if (qAlpha(card.pixel(x, y)) < 128)
                    QCOMPARE(TestView().BackBuffer().pixel(slot + QPoint(x, y)),
                             before.pixel(slot + QPoint(x, y)));
        TestView().DisplayCard(2, 4, 1, 1, kToggleHighlight);
        QVERIFY(TestView().BackBuffer() == before);
    }

    // The first card of a capture pile lands at its base; every call for that
    // pile, of any mode, moves the next place 3 pixels right.
    void capturePilePositions() {
        QCOMPARE(TestView().CardPosition(3, 9, 9), QPoint(25, 450));
        QCOMPARE(TestView().CardPosition(4, 1, 1), QPoint(570, 450));
        TestView().DisplayCard(3, 1, 1, 27, kShow);
        QVERIFY(ShowsCard(QPoint(25, 450), 27));
        TestView().DisplayCard(3, 1, 1, 0, kShow);
        TestView().DisplayCard(3, 1, 1, 1, kToggleHighlight);
        QCOMPARE(TestView().table.captureCount[3], 3);
        TestView().DisplayCard(3, 1, 1, 28, kShow);
        QVERIFY(ShowsCard(QPoint(34, 450), 28));
        QCOMPARE(TestView().table.captureCount[4], 0);
        TestView().DisplayCard(4, 1, 1, 52, kShow);
        QVERIFY(ShowsCard(QPoint(570, 450), 52));
        QCOMPARE(TestView().CardPosition(5, 0, 0), QPoint(365, 450));
        TestView().ClearTable();
        QCOMPARE(TestView().CardPosition(3, 1, 1), QPoint(25, 450));
    }

    void outOfRangeIsARangeError() {
        QVERIFY_THROWS_EXCEPTION(RangeError, TestView().DisplayCard(0, 1, 1, 66, kShow));
        QVERIFY_THROWS_EXCEPTION(RangeError, TestView().DisplayCard(6, 1, 1, 5, kShow));
        QVERIFY_THROWS_EXCEPTION(RangeError, TestView().DisplayCard(0, 10, 1, 5, kShow));
        QVERIFY_THROWS_EXCEPTION(RangeError, TestView().DisplayCard(0, 1, 10, 5, kShow));
    }

    // The tag strip of the player to move, its letter black on silver: at the
    // left for player 1, at the right otherwise.
    void tagsOfEachPlayer() {
        const QImage strip1 = PictureImage(101);
        const QImage strip2 = PictureImage(102);
        QVERIFY(strip1 != strip2);
        TestMirror().SetCurrentPlayer(1);
        TestView().DrawTag(3, 'T');
        TestMirror().SetCurrentPlayer(2);
        TestView().DrawTag(8, 'K');
        const QImage& buffer = TestView().BackBuffer();
        auto letterCell = [&](int x0, int x1, int column) {
            int black = 0, silver = 0;
            const int x = ColumnLeft(column);
            for (int y = 168; y < 180; ++y)
                for (int dx = x0; dx <= x1; ++dx) {
                    const QRgb p = buffer.pixel(x + dx, y) & 0xffffff;
                    black += p == 0;
                    silver += p == 0xc0c0c0;
                }
            return std::pair(black, silver);
        };
        const auto [black1, silver1] = letterCell(5, 16, 3);
        QVERIFY(black1 > 3);
        QVERIFY(silver1 > 10);
        const auto [black2, silver2] = letterCell(57, 70, 8);
        QVERIFY(black2 > 3);
        QVERIFY(silver2 > 10);
        // Away from the letters the strips are the players' own pictures.
        QCOMPARE(buffer.pixel(186 + 40, 166 + 7), strip1.pixel(40, 7) | 0xff000000u);
        QCOMPARE(buffer.pixel(621 + 20, 166 + 7), strip2.pixel(20, 7) | 0xff000000u);
        QCOMPARE(letterCell(57, 70, 3).first, 0);
    }

    // Every tag letter is drawn whole and large: its ink stops short of the
    // sides of its silver cell (a "J" cut at its hook reads as "]") and
    // fills most of the strip's height.
    void tagLettersAreWholeAndLarge() {
        const QImage& buffer = TestView().BackBuffer();
        for (const char letter : QByteArray("23456789TJQKA")) {
            TestView().DrawTag(1, letter);
            int left = INT_MAX, right = -1, inkTop = INT_MAX, inkBottom = -1;
            QList<int> inkColumns;
            for (int y = 166; y < 180; ++y)
                for (int x = 12; x < 12 + 71; ++x) {
                    const QRgb p = buffer.pixel(x, y);
                    if ((p & 0xffffff) == 0xc0c0c0) left = qMin(left, x), right = qMax(right, x);
                    if (qGray(p) < 96) {
                        inkColumns << x;
                        inkTop = qMin(inkTop, y), inkBottom = qMax(inkBottom, y);
                    }
                }
            const QByteArray name(1, letter);
            QVERIFY2(right >= 0 && !inkColumns.isEmpty(), name);
            for (int x : inkColumns)
                QVERIFY2(x > left && x < right, qPrintable(QString("%1 at column %2 of %3..%4")
                                                               .arg(letter)
                                                               .arg(x)
                                                               .arg(left)
                                                               .arg(right)));
            QVERIFY2(inkBottom - inkTop + 1 >= 9, qPrintable(name + " is too small"));
        }
    }

    // Four frames, each on the window only, a quarter delay unit apart; the
    // steps are truncated toward zero and the back buffer is left alone.
    void flightIsDrawnOnTheWindowOnly() {
        TestView().DisplayCard(4, 1, 1, 30,
                               kShow);  // capture count 1: the pile's next place is 573
        const QImage before = TestView().BackBuffer().copy();
        PaintWatch watch;
        window->Table->installEventFilter(&watch);
        TestMirror().settings.delayUnit = 40;
        QElapsedTimer clock;
        clock.start();
        TestView().AnimateCard(4, 0, 44, 1, 1, 1, 2);
        const qint64 took = clock.elapsed();
        window->Table->removeEventFilter(&watch);

        QVERIFY(took >= 40);
        QCOMPARE(watch.frames.size(), 4);
        QCOMPARE(watch.paints, 8);  // each frame and each removal
        // From (573, 450) to (12, 197): steps of -112 (561 / 5 truncated) and -50 (253 / 5
        // truncated).
        const QPoint from(573, 450);
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(watch.frames[i - 1].at, from + i * QPoint(-112, -50));
            QCOMPARE(watch.frames[i - 1].picture, 44);
            QCOMPARE(watch.windowPixels[i - 1] & 0xffffff,
                     PictureImage(44).pixel(35, 48) & 0xffffff);
        }
        QVERIFY(!TestView().CardInFlight().active);
        QVERIFY(TestView().BackBuffer() == before);
        QCOMPARE(TestView().table.captureCount[4], 1);
    }

    void paintCopiesTheBackBuffer() {
        DealPile(1, {12, 25});
        TestView().DrawTag(1, 'Q');
        const QImage shown = window->Table->grab().toImage();
        const QImage& buffer = TestView().BackBuffer();
        for (const QPoint p : {QPoint(40, 170), QPoint(47, 230), QPoint(1, 300), QPoint(600, 300)})
            QCOMPARE(shown.pixel(p), buffer.pixel(p));
    }

    // Until the first deal the table's first row tells how to begin; the note
    // is on the window, not in the back buffer.
    void startNoteUntilTheFirstDeal() {
        const auto noteShown = [this] {
            const QImage shown = window->Table->grab().toImage();
            const QRect band = FirstRowBand();
            for (int x = band.left(); x <= band.right(); ++x)
                if (shown.pixel(x, band.center().y()) != kTableColour) return true;
            return false;
        };
        QCOMPARE(TestView().TableNote(), QString::fromLatin1(kStartNote));
        QVERIFY(noteShown());
        TestView().DisplayCard(1, 1, 1, 40, kShow);
        QVERIFY(TestView().TableNote() != QLatin1String(kStartNote));
        QVERIFY(!noteShown());
    }

    // A note on the emptied table is crossed by no outline of the places the
    // last move emptied; the capture pile it filled stays outlined.
    void endNoteCrossedByNoOutline() {
        DealPile(3, 1);
        DealPile(4, 2);
        TestView().BeginMoveMarks();
        for (int column : {3, 4})
            while (TestView().table.pileDepth[0][column] > 0)
                TestView().DisplayCard(0, column, TestView().table.pileDepth[0][column], 0, kErase);
        TestView().DisplayCard(3, 1, 1, 5, kShow);
        TestView().ShowMoveMarks(QStringLiteral("Player No. 1 took the last cards"));
        TestView().SetTableNote(
            QStringLiteral("Game stopped: Player No. 1 has 3 points, Player No. 2 has 1 "
                           "point.  New Game (F2) starts a new game."));
        const QImage shown = window->Table->grab().toImage();
        QCOMPARE(int(TestView().MoveMarks().size()), 3);
        for (const QRect& mark : TestView().MoveMarks()) {
            const QRect outline =
                mark.adjusted(-kOutlineRoom, -kOutlineRoom, kOutlineRoom, kOutlineRoom);
            int gold = 0;
            for (int y = outline.top(); y <= outline.bottom(); ++y)
                for (int x = outline.left(); x <= outline.right(); ++x)
                    gold += shown.pixel(x, y) == kMarkColour;
            QCOMPARE(gold > 0, mark.top() >= WordsBand().bottom());  // the capture pile's only
        }
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

    // The button raises the panel to 450 and lowers it from there; a click on
    // the panel raises it by 100, after which the button raises it further.
    void remainingCardsPanelSlides() {
        QWidget* panel = window->RemainingCards;
        QCOMPARE(panel->y(), 536);
        QElapsedTimer clock;
        clock.start();
        window->RemainingCardsButton->click();
        QVERIFY(clock.elapsed() >= 100);
        QCOMPARE(panel->y(), 450);
        QCOMPARE(panel->x(), 233);
        window->RemainingCardsButton->click();
        QCOMPARE(panel->y(), 536);

        window->RemainingCardsButton->click();
        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(panel->y(), 350);
        window->RemainingCardsButton->click();
        QCOMPARE(panel->y(), 264);
    }

    // Hearts and diamonds are written in red on the grey panel, clubs and spades in black.
    void remainingRowsInTheirColours() {
        auto inks = [](QLabel* row) {
            const QImage image = row->grab().toImage();
            int red = 0, black = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    red += qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90;
                    black += qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60;
                }
            return std::pair(red, black);
        };
        for (QLabel* row : {window->RemainHearts, window->RemainDiamonds}) {
            const auto [red, black] = inks(row);
            QVERIFY(red > 20);
            QCOMPARE(black, 0);
        }
        for (QLabel* row : {window->RemainClubs, window->RemainSpades}) {
            const auto [red, black] = inks(row);
            QCOMPARE(red, 0);
            QVERIFY(black > 20);
        }
    }

    // Moves that would take the panel out of the window's top send it home.
    void panelNeverLeavesTheWindow() {
        QWidget* panel = window->RemainingCards;
        panel->move(233, 50);
        RemainingCardsClick(TestView());
        QCOMPARE(panel->y(), 536);
        panel->move(233, 80);
        RemainingCardsButtonClick(TestView());
        QCOMPARE(panel->y(), 536);
        panel->move(233, 86);
        RemainingCardsButtonClick(TestView());
        QCOMPARE(panel->y(), 0);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    TableViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tableview_test.moc"
