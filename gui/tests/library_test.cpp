// The program against the real library: start-up, the settings report, the
// Hall of Fame rows, a whole game played by two computer players through the
// follow-up requests alone (each move told in words), and saving on the way out.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "link/operations.h"
#include "link/replies.h"
#include "table/movetext.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

// Answers every confirm box while it lives: OK to "Continue Game", Cancel to
// "New Game"; the captions and texts asked are kept.
struct ConfirmAnswers {
    QStringList captions;
    QStringList texts;
    ModalAnswerer answerer{[this](QWidget* modal) {
        auto* box = dynamic_cast<TConfirmBox*>(modal);
        if (!box) return;
        captions << box->windowTitle();
        texts << box->Label1->text();
        (box->windowTitle() == QStringLiteral("Continue Game") ? box->OKButton : box->CancelButton)
            ->click();
    }};
};

}  // namespace

class LibraryTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  private slots:
    void initTestCase() {
        QFile::remove(QStringLiteral("kzq.gds"));
        window = OpenTestWindow(true);
        QVERIFY(window);
        QVERIFY(PassThrough::Install());
    }
    void cleanupTestCase() { CloseTestWindow(); }

    void settingsReportFillsTheMirror() {
        TestMirror().settings.player1Name.clear();
        TestMirror().settings.player2Level = 5;
        RequestBuffer buffer;
        MakeMessage('I', buffer);
        TestLink().Send(buffer);
        // The library's first two records sit in the players' seats; both are level 0,
        // and a computer player is at least level 1.
        QCOMPARE(TestMirror().settings.player1Name, std::string("Alice Brown"));
        QCOMPARE(TestMirror().settings.player2Name, std::string("Benjamin Cox"));
        QCOMPARE(TestMirror().settings.player2Level, 1);
    }

    void hallOfFameByPoints() {
        RequestBuffer buffer;
        RequestHighScores(TestLink(), 2);
        QCOMPARE(TestMirror().hallOfFame[1].name, std::string("Nathaniel Price"));
        QCOMPARE(TestMirror().hallOfFame[1].points, 26);
        QCOMPARE(TestMirror().hallOfFame[1].percentWon, 50.0);
        QCOMPARE(TestMirror().hallOfFame[1].pointsPerGame, 6.5);
        for (int rank = 2; rank <= kHallRows; ++rank)
            QVERIFY(TestMirror().hallOfFame[rank - 1].points >=
                    TestMirror().hallOfFame[rank].points);
        QCOMPARE(TestMirror().hallOfFame[15].name, std::string("Alice Brown"));
        QCOMPARE(TestMirror().hallOfFame[15].points, -12);
        QCOMPARE(TestMirror().hallOfFame[15].lost, 15);

        RequestHighScores(TestLink(), 1);
        QCOMPARE(TestMirror().hallOfFame[1].name, std::string("Alice Brown"));
    }

    // With both players moved by the library, one New Game plays every round
    // to the end: each "P" leaves "<C>", each round's end asks to continue.
    void wholeGameOfComputerMoves() {
        TestMirror() = GameMirror{};
        TestMirror().playerIsComputer[1] = 1;
        TestMirror().playerIsComputer[2] = 1;
        TestMirror().settings.player1Name = "Ann";
        TestMirror().settings.player2Name = "Bob";
        TestMirror().settings.animation = false;
        MessageLog log;
        ConfirmAnswers answers;
        // Every move the computer makes has words, and they name its mover.
        int toldMoves = 0;
        QStringList untold;
        PassThrough::after = [&](const std::string& reply) {
            if (!IsComputerMove(reply)) return;
            const QString words = DescribeMove(reply, MoveContextNow(TestView()));
            const QString mover = reply[1] == '1' ? QStringLiteral("Ann ") : QStringLiteral("Bob ");
            if (words.startsWith(mover))
                ++toldMoves;
            else
                untold << QString::fromStdString(reply);
        };
        Sent::Clear();
        StartNewGame(TestLink(), TestMirror(), TestView());
        PassThrough::after = nullptr;
        QVERIFY2(untold.isEmpty(), qPrintable(untold.join(QLatin1Char('\n'))));

        QVERIFY2(log.texts.isEmpty(), qPrintable(log.texts.join(QLatin1Char('\n'))));
        QVERIFY(answers.captions.size() >= 2);
        QCOMPARE(answers.captions.last(), QStringLiteral("New Game"));
        for (int i = 0; i + 1 < answers.captions.size(); ++i)
            QCOMPARE(answers.captions[i], QStringLiteral("Continue Game"));
        const int rounds = int(answers.captions.size());
        QCOMPARE(int(Sent::List().filter(QStringLiteral("<R></>")).size()), rounds - 1);
        // 48 moves a round, each one a "<C>" (the last one of a round may be
        // followed by one more that finds no move).
        const int computerMoves = int(Sent::List().filter(QStringLiteral("<C></>")).size());
        QVERIFY(computerMoves >= 48 * rounds);
        QVERIFY(computerMoves <= 49 * rounds);
        QCOMPARE(toldMoves, 48 * rounds);

        const QRegularExpression won(
            QStringLiteral("^(Ann|Bob) has won the game with (\\d+) points\\.  Play again\\?$"));
        const QRegularExpressionMatch match = won.match(answers.texts.last());
        QVERIFY2(match.hasMatch(), qPrintable(answers.texts.last()));
        QVERIFY(match.captured(2).toInt() >= 21);
        const QString winnerPanel = match.captured(1) == QStringLiteral("Ann")
                                        ? window->Player1Name->text()
                                        : window->Player2Name->text();
        QCOMPARE(winnerPanel,
                 match.captured(1) + QStringLiteral(" has ") + match.captured(2) + " points");
        // The score sheet shows the last round's points as the library counted them.
        QCOMPARE(window->Points1->text(), QString::number(TestMirror().scores[1].points));
        QCOMPARE(window->Points2->text(), QString::number(TestMirror().scores[2].points));
    }

    void exitSavesTheRecords() {
        AnswerNextConfirm(true);
        window->Exit1Click();
        QVERIFY(window->Ended());
        QCOMPARE(QFile(QStringLiteral("kzq.gds")).size(), qint64(512));
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    LibraryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "library_test.moc"
