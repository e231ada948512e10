// The Hall of Fame dialog against the real library, begun with a records file
// of known players: the lines of the columns, the sort buttons and the
// library's orders, the High Scores command, and Clear Scores cancelled and
// confirmed.
#include "dialogs/highscores.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <functional>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "link/operations.h"
#include "table/cardtext.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"
#include "window/commands.h"

namespace {

struct Player {
    const char* name;
    int points;
    int played;
    int won;
};
// The records in use; the other ten are empty.
const Player kPlayers[] = {
    {"Ann", -3, 2, 1},                     // points per game -1.5
    {"Bob", 40, 10, 7}, {"Cid", 0, 0, 0},  // no games played
    {"Dee", 12, 4, 3},  {"Eve", 7, 5, 1},
};

void Put16(QByteArray& data, int at, int value) {
    data[at] = char(value & 0xff);
    data[at + 1] = char((value >> 8) & 0xff);
}

// A sound records file: Ann and Bob seated, five records in use.
void WriteRecords() {
    QByteArray data(512, '\0');
    data.replace(0, 24, "Kzq(c)2000 Q+V Dorlan 20");
    data[25] = 2;  // back design rank
    data[26] = 5;  // back design suit
    data[27] = 0;  // player 1's record
    data[28] = 1;  // player 2's record
    data[29] = char(std::size(kPlayers));
    for (int i = 0; i < int(std::size(kPlayers)); ++i) {
        const int at = 32 + 32 * i;
        data.replace(at, int(qstrlen(kPlayers[i].name)), kPlayers[i].name);
        Put16(data, at + 20, kPlayers[i].points);
        Put16(data, at + 22, kPlayers[i].played);
        Put16(data, at + 24, kPlayers[i].won);
    }
    QFile file(QStringLiteral("kzq.gds"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), qint64(512));
}

QStringList Lines(const QTextEdit* column) {
    return column->toPlainText().split(QLatin1Char('\n'));
}

// The line of the named player in `column`.
QString LineOf(const THighScores& box, const QTextEdit* column, const QString& name) {
    const qsizetype row = Lines(box.LName).indexOf(name);
    return row < 0 ? QStringLiteral("(no row)") : Lines(column).value(row);
}

}  // namespace

class HighScoresTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  private slots:
    void initTestCase() {
        WriteRecords();
        window = OpenTestWindow(true);
        QVERIFY(window);
        QVERIFY(PassThrough::Install());
    }
    void cleanupTestCase() { CloseTestWindow(); }
    void init() { Sent::Clear(); }

    void formatRate_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "  0.0";
        QTest::newRow("half") << 50.0 << " 50.0";
        QTest::newRow("all") << 100.0 << "100.0";
        QTest::newRow("negative") << -1.5 << " -1.5";
        QTest::newRow("two negative digits") << -12.0 << "-12.0";
        QTest::newRow("rounded") << 200.0 / 3 << " 66.7";
    }
    void formatRate() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatRate(value), text);
    }

    void linesOfTheRows() {
        RequestBuffer buffer;
        RequestHighScores(TestLink(), THighScores::kByPoints);
        THighScores box(nullptr, TestView());
        QCOMPARE(box.windowTitle(), QStringLiteral("Hall of Fame"));
        QCOMPARE(box.size(), QSize(593, 343));
        for (const QTextEdit* column : {box.LNumber, box.LName, box.LPoints, box.LWon, box.LLost,
                                        box.LPlayed, box.LPercent, box.LPPG})
            QCOMPARE(Lines(column).size(), 15);
        for (int rank = 1; rank <= 15; ++rank)
            QCOMPARE(Lines(box.LNumber)[rank - 1], QString::number(rank));
        QCOMPARE(Lines(box.LName).first(), QStringLiteral("Bob"));
        QCOMPARE(Lines(box.LName).last(), QStringLiteral("Ann"));
        QCOMPARE(Lines(box.LName).count(QString()), 10);  // unused records show as empty rows

        const QString ann = QStringLiteral("Ann");
        QCOMPARE(LineOf(box, box.LPoints, ann), QStringLiteral("-3"));
        QCOMPARE(LineOf(box, box.LWon, ann), QStringLiteral("1"));
        QCOMPARE(LineOf(box, box.LLost, ann), QStringLiteral("1"));
        QCOMPARE(LineOf(box, box.LPlayed, ann), QStringLiteral("2"));
        QCOMPARE(LineOf(box, box.LPercent, ann), QStringLiteral(" 50.0"));
        QCOMPARE(LineOf(box, box.LPPG, ann), QStringLiteral(" -1.5"));
        const QString cid = QStringLiteral("Cid");
        QCOMPARE(LineOf(box, box.LPercent, cid), QStringLiteral("  0.0"));
        QCOMPARE(LineOf(box, box.LPPG, cid), QStringLiteral("  0.0"));
        QCOMPARE(LineOf(box, box.LPercent, QStringLiteral("Dee")), QStringLiteral(" 75.0"));
        QCOMPARE(LineOf(box, box.LPPG, QStringLiteral("Bob")), QStringLiteral("  4.0"));

        // A screen reader hears the rows in use, each with its column names, and
        // the sort buttons as one choice of seven.
        QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(box.Rows);
        QCOMPARE(rows->role(), QAccessible::List);
        QCOMPARE(rows->childCount(), 5);  // no items for unused records
        QCOMPARE(rows->child(4)->text(QAccessible::Name),
                 QStringLiteral("Name: Ann, Points: -3, Won: 1, Lost: 1, Played: 2, Percent: 50.0, "
                                "Points per game: -1.5"));
        for (QPushButton* sort : {box.Button3Points, box.Button8PPG}) {
            QAccessibleInterface* choice = QAccessible::queryAccessibleInterface(sort);
            QCOMPARE(choice->role(), QAccessible::RadioButton);
            QCOMPARE(choice->state().checked, sort == box.Button3Points);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(box.Button8PPG)->text(QAccessible::Name),
                 QStringLiteral("Sort by Points per game"));
        QCOMPARE(box.LPPG->accessibleName(), QStringLiteral("Points per game column"));
    }

    // All fifteen lines stand above the panel that hides the strip below them.
    void fifteenLinesAboveTheHider() {
        TestMirror().hallOfFame[15].name = "Gypsy Quigley";  // descenders on the last line
        THighScores box(nullptr, TestView());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QList<QObject*> order = box.HighScoresGroup->children();
        for (const QTextEdit* column : {box.LNumber, box.LName, box.LPoints, box.LWon, box.LLost,
                                        box.LPlayed, box.LPercent, box.LPPG}) {
            QCOMPARE(column->document()->lastBlock().blockNumber(), 14);
            QVERIFY(column->geometry().bottom() >= box.HiderPanel->y());
            QVERIFY(order.indexOf(box.HiderPanel) > order.indexOf(column));
            QCOMPARE(column->viewport()->cursor().shape(), Qt::ForbiddenCursor);
        }
        const QImage shown = box.LName->grab().toImage();
        int lowestInk = -1;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (qGray(shown.pixel(x, y)) < 128) lowestInk = y;
        QVERIFY(lowestInk > 14 * THighScores::kLineHeight);  // the fifteenth line is drawn
        QVERIFY(box.LName->y() + lowestInk < box.HiderPanel->y());
    }

    void sortButtons_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("Name") << 1 << ""
                              << "Eve";
        QTest::newRow("Points") << 2 << "Bob"
                                << "Ann";
        QTest::newRow("Won") << 3 << "Bob"
                             << "";
        QTest::newRow("Lost") << 4 << ""
                              << "Eve";
        QTest::newRow("Played") << 5 << "Bob"
                                << "";
        QTest::newRow("Percent") << 6 << "Dee"
                                 << "";
        QTest::newRow("PPG") << 7 << "Bob"
                             << "Ann";
    }
    void sortButtons() {
        QFETCH(int, key);
        QFETCH(QString, first);
        QFETCH(QString, last);
        THighScores box(nullptr, TestView(), HallOfFameRequests(TestLink(), TestGame().saver));
        box.show();
        QPushButton* buttons[] = {box.Button2Name, box.Button3Points, box.Button4Won,
                                  box.Button5Lost, box.Button6Played, box.Button7Percent,
                                  box.Button8PPG};
        QCOMPARE(box.SortButtons->checkedButton(), box.Button3Points);  // down on opening
        QPushButton* button = buttons[key - 1];
        QVERIFY(button->isFlat());
        QVERIFY(button->font().bold());
        for (int press = 0; press < 2; ++press) {  // a second press asks again
            Sent::Clear();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(Sent::List().size(), 16);
            QCOMPARE(Sent::List()[0], QStringLiteral("<I>6%1</>").arg(key));
            QCOMPARE(Sent::List()[15], QStringLiteral("<H>15</>"));
            QCOMPARE(box.SortButtons->checkedButton(), button);
        }
        for (QPushButton* other : buttons)
            QCOMPARE(other->isChecked(), other == button);

        // The columns show the library's order, which follows the key.
        const QStringList names = Lines(box.LName);
        if (!first.isEmpty()) QCOMPARE(names.first(), first);
        if (!last.isEmpty()) QCOMPARE(names.last(), last);
        const std::function<double(int)> value[] = {
            nullptr,
            [](int r) { return double(TestMirror().hallOfFame[r].points); },
            [](int r) { return double(TestMirror().hallOfFame[r].won); },
            [](int r) { return -double(TestMirror().hallOfFame[r].lost); },
            [](int r) { return double(TestMirror().hallOfFame[r].played); },
            [](int r) { return TestMirror().hallOfFame[r].percentWon; },
            [](int r) { return TestMirror().hallOfFame[r].pointsPerGame; }};
        for (int rank = 2; rank <= kHallRows; ++rank) {
            QCOMPARE(names[rank - 1], WireToText(TestMirror().hallOfFame[rank].name));
            if (key == 1)
                QVERIFY(TestMirror().hallOfFame[rank - 1].name <=
                        TestMirror().hallOfFame[rank].name);
            else
                QVERIFY(value[key - 1](rank - 1) >= value[key - 1](rank));
        }
    }

    void highScoresCommandOpensByPoints() {
        RequestBuffer buffer;
        RequestHighScores(TestLink(), THighScores::kByName);
        Sent::Clear();
        QString firstName;
        bool pointsDown = false;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<THighScores*>(modal);
            QVERIFY(box);
            firstName = Lines(box->LName).first();
            pointsDown = box->Button3Points->isChecked();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        HighScoresCommand(TestGame());
        QCOMPARE(Sent::List().size(), 16);
        QCOMPARE(Sent::List()[0], QStringLiteral("<I>62</>"));
        QCOMPARE(firstName, QStringLiteral("Bob"));
        QVERIFY(pointsDown);
    }

    // After the cancelled question, Enter closes the dialog with OK, as when it opened.
    void clearCancelledKeepsTheRecords() {
        QList<ConfirmAnswer> asked;
        bool stillOpen = false;
        int result = -1;
        ModalAnswerer cancel([&](QWidget* modal) {
            if (auto* box = dynamic_cast<TConfirmBox*>(modal)) {
                asked << ConfirmAnswer{box->windowTitle(), box->Label1->text(), true};
                box->CancelButton->click();
            }
        });
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<THighScores*>(modal);
            QVERIFY(box);
            QTest::mouseClick(box->ClearButton, Qt::LeftButton);
            stillOpen = box->isVisible();
            QWidget* focus = box->focusWidget();
            QTest::keyClick(focus ? focus : box, Qt::Key_Return);
            if (box->isVisible()) box->close();
            result = box->result();
        });
        ShowHighScores(TestGame());
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].caption, QStringLiteral("Clear High Scores?"));
        QCOMPARE(asked[0].text, QStringLiteral("Are you sure you want to erase all high scores?"));
        QVERIFY(stillOpen);
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(Sent::List().isEmpty());
        RequestBuffer buffer;
        RequestHighScores(TestLink(), THighScores::kByPoints);
        QCOMPARE(TestMirror().hallOfFame[1].points, 40);
    }

    // Runs last: it erases the records.
    void clearConfirmedErasesAndCloses() {
        bool closed = false;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<THighScores*>(modal);
            QVERIFY(box);
            AnswerNextConfirm(true);
            box->ClearButton->click();
            closed = !box->isVisible();
            if (!closed) box->close();
        });
        ShowHighScores(TestGame());
        QVERIFY(closed);
        // The cleared records are saved at once.
        QCOMPARE(Sent::List(), (QStringList{QStringLiteral("<H>00</>"), QStringLiteral("<W></>")}));
        QCOMPARE(TestMirror().hallOfFame[1].points,
                 40);  // the program's table waits for the next fetch

        QStringList points;
        QStringList percent;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<THighScores*>(modal);
            QVERIFY(box);
            points = Lines(box->LPoints);
            percent = Lines(box->LPercent);
            box->OKButton->click();
        });
        HighScoresCommand(TestGame());
        QCOMPARE(points, QStringList(15, QStringLiteral("0")));
        QCOMPARE(percent, QStringList(15, QStringLiteral("  0.0")));
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    HighScoresTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "highscores_test.moc"
