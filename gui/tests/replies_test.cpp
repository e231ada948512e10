// Processing replies item by item: cards, the player to move, scores, Hall of
// Fame rows, settings, the menus at a move and at the end of a round, and the
// framing errors.
#include "link/replies.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "link/operations.h"
#include "link/saving.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

// Counts the paints of the table that show a card in flight.
class FlightWatch : public QObject {
  public:
    int frames = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && TestView().CardInFlight().active) ++frames;
        return false;
    }
};

const std::string kDefaultNewGame =
    "<I>06B<I>10Player No. 1<I>21Player No. 2<I>31<I>41<I>50<Z><K>0<U></>";

}  // namespace

class RepliesTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  private slots:
    void init() { window = FreshTest(); }
    void cleanup() { CloseTestWindow(); }

    // Player 1's six of hearts is drawn in hand slot 1, player 2 (the
    // computer) is to move, and "<C>" waits in the buffer.
    void cardThenComputerToMove() {
        RequestBuffer buffer = ProcessReply("<1>116h<P>2</>");
        QCOMPARE(TestView().table.handCards[1][1], 32);
        QCOMPARE(TestView().table.pileDepth[1][1], 1);
        QCOMPARE(TestMirror().CurrentPlayer(), 2);
        QCOMPARE(buffer.writePos, 3);
        QCOMPARE(BufferText(buffer).substr(0, 3), std::string("<C>"));

        StandIn::Script({"<1>116h<P>2</>"});
        MakeMessage('N', buffer);
        TestLink().Send(buffer);
        QCOMPARE(Sent::requests, (std::vector<std::string>{"<N></>", "<C></>"}));
    }

    // Player 1 (a human) to move: the turn passes, the selection goes, and
    // no "<C>" waits.
    void humanToMoveLeavesNothing() {
        TestMirror().SetCurrentPlayer(2);
        DealPile(3, 1);
        TestView().DisplayCard(0, 3, 1, 1, kToggleHighlight);
        ProcessReply("<P>1</>");
        QCOMPARE(TestMirror().CurrentPlayer(), 1);
        QCOMPARE(TestLink().Waiting().writePos, 0);
        QCOMPARE(TestView().table.highlight[0][3], 0);
    }

    void tableCardsStackAndEmptyPlacesErase() {
        ProcessReply("<0>11Kc<0>125d<0>13Ah</>");
        QCOMPARE(TestView().table.pileDepth[0][1], 3);
        QCOMPARE(TestView().table.pileCards[1][1], 13);
        QCOMPARE(TestView().table.pileCards[1][2], 18);
        QCOMPARE(TestView().table.pileCards[1][3], 27);
        ProcessReply("<0>1300</>");
        QCOMPARE(TestView().table.pileDepth[0][1], 2);
        QCOMPARE(TestView().table.pileCards[1][3], 0);
        ProcessReply("<2>31JB<4>11Qs</>");
        QCOMPARE(TestView().table.handCards[2][3], 63);
        QCOMPARE(TestView().table.captureCount[4], 1);
    }

    void scoreItemFillsTheRecordAndTheLabels() {
        ProcessReply("<G>231002072809</>");
        const ScoreRecord& r = TestMirror().scores[2];
        QCOMPARE(r.aces, 3);
        QCOMPARE(r.twoSpades, 1);
        QCOMPARE(r.tenDiamonds, 0);
        QCOMPARE(r.sweeps, 2);
        QCOMPARE(r.spades, 7);
        QCOMPARE(r.cards, 28);
        QCOMPARE(r.points, 9);
        QCOMPARE(window->Aces2->text(), QStringLiteral("3"));
        QCOMPARE(window->Cards2->text(), QStringLiteral("28"));
        QCOMPARE(window->Points2->text(), QStringLiteral("9"));
        QCOMPARE(window->Points1->text(), QStringLiteral("0"));
        QVERIFY_THROWS_EXCEPTION(RangeError, ProcessReply("<G>331002072809</>"));
    }

    void hallOfFameRows() {
        ProcessReply("<H>010(Alice Brown) -0012 00030 00015<H>150(Nobody) 00000 00000 00000</>");
        const HallRow& alice = TestMirror().hallOfFame[1];
        QCOMPARE(alice.name, std::string("Alice Brown"));
        QCOMPARE(alice.points, -12);
        QCOMPARE(alice.played, 30);
        QCOMPARE(alice.won, 15);
        QCOMPARE(alice.lost, 15);
        QCOMPARE(alice.percentWon, 50.0);
        QCOMPARE(alice.pointsPerGame, -0.4);
        const HallRow& nobody = TestMirror().hallOfFame[15];
        QCOMPARE(nobody.name, std::string("Nobody"));
        QCOMPARE(nobody.lost, 0);
        QCOMPARE(nobody.percentWon, 0.0);
        QCOMPARE(nobody.pointsPerGame, 0.0);
    }

    void hallOfFameNamesKeepTwentyCharacters() {
        ProcessReply("<H>053(ABCDEFGHIJKLMNOPQRSTUVWXYZ) 00007 00002 00001</>");
        QCOMPARE(TestMirror().hallOfFame[5].name, std::string("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(TestMirror().hallOfFame[5].points, 7);
        QCOMPARE(TestMirror().hallOfFame[5].lost, 1);
    }

    void hallOfFameRankOutOfRangeIsARangeError() {
        QVERIFY_THROWS_EXCEPTION(RangeError, ProcessReply("<H>160(X) 00000 00000 00000</>"));
        QVERIFY_THROWS_EXCEPTION(RangeError, ProcessReply("<H>000(X) 00000 00000 00000</>"));
    }

    void settingsItems() {
        ProcessReply("<I>15(Ann)<I>20(Bob)<I>0TB<I>30<I>40<I>57</>");
        QCOMPARE(TestMirror().settings.player1Name, std::string("Ann"));
        QCOMPARE(TestMirror().settings.player1Level, 0);  // never taken from a reply
        QCOMPARE(TestMirror().settings.player2Name, std::string("Bob"));
        QCOMPARE(TestMirror().settings.player2Level, 1);  // clamped up from 0
        QCOMPARE(TestMirror().settings.backRank, 'T');
        QCOMPARE(TestMirror().settings.backSuit, 'B');
        QVERIFY(!TestMirror().settings.sound);
        QVERIFY(!TestMirror().settings.animation);
        QCOMPARE(TestMirror().settings.delaySetting, 7);
        QCOMPARE(TestMirror().settings.delayUnit, 10);  // unchanged by the report

        ProcessReply("<I>29(Cy)<I>31<I>41<I>9x</>");
        QCOMPARE(TestMirror().settings.player2Level, 9);
        QCOMPARE(TestMirror().settings.player2Name, std::string("Cy"));
        QVERIFY(TestMirror().settings.sound);
        QVERIFY(TestMirror().settings.animation);
    }

    void endOfRoundWithoutWinnerAsksToContinue() {
        ConfirmAnswer seen;
        AnswerNextConfirm(false, &seen);
        ProcessReply("<M>491209</>");
        QCOMPARE(window->Player1Name->text(), QStringLiteral("Player No. 1 has 12 points"));
        QCOMPARE(window->Player2Name->text(), QStringLiteral("Player No. 2 has 9 points"));
        QVERIFY(seen.asked);
        QCOMPARE(seen.caption, QStringLiteral("Continue Game"));
        QCOMPARE(seen.text,
                 QStringLiteral("Neither player has reached 21 points.  Continue playing?"));
        QVERIFY(Sent::requests.empty());

        TestView().DisplayCard(0, 4, 1, 20, kShow);
        AnswerNextConfirm(true);
        ProcessReply("<M>490100</>");
        QCOMPARE(window->Player1Name->text(), QStringLiteral("Player No. 1 has 1 point"));
        QCOMPARE(window->Player2Name->text(), QStringLiteral("Player No. 2 has 0 points"));
        QCOMPARE(Sent::requests, std::vector<std::string>{"<R></>"});
        QCOMPARE(TestView().table.pileDepth[0][4], 0);  // the table was cleared for the new round
    }

    // The finished game is saved before the question; a failed save is told
    // with Continue Without Saving, and play goes on to the question.
    void endOfGameSavesThenAsksToPlayAgain() {
        TestMirror().settings.player2Name = "Bob";
        StandIn::Script({"<E>ERROR: Unable to save game data</>"});
        std::vector<std::string> sentBeforeQuestion;
        QString retryText;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box) {  // the question came first: the save did not ask
                modal->close();
                return;
            }
            retryText = box->text();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QLatin1String(kContinueWithoutSaving)) button->click();
            AnswerNextModal([&](QWidget* question) {
                sentBeforeQuestion = Sent::requests;
                question->close();
            });
        });
        ProcessReply("<M>511521</>");
        QVERIFY2(retryText.contains(QLatin1String(kTryAgain)), qPrintable(retryText));
        QCOMPARE(sentBeforeQuestion, std::vector<std::string>{"<W></>"});
        QCOMPARE(Sent::requests, std::vector<std::string>{"<W></>"});

        TestMirror().settings.player2Name = "Player No. 2";
        Sent::Clear();
        ConfirmAnswer seen;
        AnswerNextConfirm(true, &seen);
        ProcessReply("<M>502401</>");
        QCOMPARE(seen.caption, QStringLiteral("New Game"));
        QCOMPARE(seen.text,
                 QStringLiteral("Player No. 1 has won the game with 24 points.  Play again?"));
        QCOMPARE(Sent::requests, (std::vector<std::string>{"<W></>", kDefaultNewGame}));
        QCOMPARE(window->Player1Name->text(), QStringLiteral("Player No. 1"));
        QCOMPARE(window->Player2Name->text(), QStringLiteral("Player No. 2"));
    }

    // The Choose Action dialog closed without a choice is Cancel: the
    // selection is cleared and "<Y>0" goes out at once.
    void moveMenuIsAnsweredAtOnce() {
        TestView().DisplayCard(0, 2, 1, 5, kShow);
        TestView().DisplayCard(0, 2, 1, 5, kToggleHighlight);
        QCOMPARE(TestView().table.highlight[0][2], 1);
        AnswerNextModal([](QWidget* box) { box->close(); });
        ProcessReply("<M>08</>");
        QCOMPARE(Sent::requests, std::vector<std::string>{"<Y>0</>"});
        QCOMPARE(TestView().table.highlight[0][2], 0);
        QCOMPARE(TestLink().Waiting().writePos, 0);
    }

    void framingErrors() {
        MessageLog log;
        ProcessReply("no item at all");
        ProcessReply("<Vx</>");
        QCOMPARE(log.texts, (QStringList{QStringLiteral("Process Message Error: No <"),
                                         QStringLiteral("Process Message Error: No >")}));
    }

    void unknownItemIsReportedAndSkipped() {
        MessageLog log;
        ProcessReply("<X>zz<P>2</>");
        QCOMPARE(log.texts, QStringList{QStringLiteral("Unknown Message Type: X")});
        QCOMPARE(TestMirror().CurrentPlayer(), 2);
    }

    void repliesThatEndEarly() {
        MessageLog log;
        ProcessReply("");
        ProcessReply("<P>2");  // no terminator item: ends after its last item
        QCOMPARE(TestMirror().CurrentPlayer(), 2);
        ProcessReply("<G>1");  // short item: reads zeros, not what lies past the reply
        QVERIFY(log.texts.isEmpty());
    }

    void quietItems() {
        MessageLog log;
        ProcessReply("<E>HumanMove failed<V>Kzq banner<Q>MoveNr=07<P>2</>");
        QVERIFY(log.texts.isEmpty());
        QCOMPARE(TestMirror().CurrentPlayer(), 2);  // the item after them is still run
    }

    // The player is told before the card goes; the computer's move is told in its words only.
    void noRoomItem() {
        MessageLog log;
        ProcessReply("<F>11Kc</>");
        QCOMPARE(log.texts, QStringList{QStringLiteral(
                                "There is no room on the table.  This card will be sent to your "
                                "Capture Pile.")});
        log.texts.clear();
        TestMirror().SetCurrentPlayer(2);
        ProcessReply("<2>113s<D>0<F>113s<2>1100<A>243s1111<4>113s<P>1</>");
        QVERIFY(log.texts.isEmpty());
        QVERIFY(TestView().MoveWords().contains(QStringLiteral("found no room")));
    }

    // The round's last player item names the computer before the question;
    // declining either question sends nothing more (the finished game's save
    // went before its question).
    void decliningSendsNothing() {
        const std::pair<const char*, std::vector<std::string>> cases[] = {
            {"<P>2<M>491209</>", {"<N></>"}}, {"<P>2<M>511521</>", {"<N></>", "<W></>"}}};
        for (const auto& [reply, sent] : cases) {
            StandIn::Script({reply});
            Sent::Clear();
            AnswerNextConfirm(false);
            RequestBuffer buffer;
            MakeMessage('N', buffer);
            TestLink().Send(buffer);
            QCOMPARE(Sent::requests, sent);
            QCOMPARE(TestLink().Waiting().writePos, 0);
        }
    }

    // The turn marker and the table's note: before any game, through a new
    // game's first turns, and once a game is stopped or over. A new game's
    // score sheet is clean although its deal carries no score lines.
    void turnAndNotes_data() {
        QTest::addColumn<std::string>("deal");     // answers the new game; none: no game
        QTest::addColumn<QStringList>("replies");  // then these, questions declined
        QTest::addColumn<QString>("note");
        QTest::addColumn<int>("turn");
        const std::string dealFirst =
            "<1>113d<2>11Kh<1>214h<2>21Ad<1>31Th<2>31Td<1>416c<2>414c<0>512s<0>418h<0>61Tc"
            "<0>318d<P>1</>";
        std::string dealSecond = dealFirst;
        dealSecond.replace(dealSecond.size() - 4, 1, "2");
        const QString firstTurn = QStringLiteral(
            "Your turn: click piles on the table to take or build, then a card in your hand.  A "
            "hand card alone puts it down.");
        QTest::newRow("before any game")
            << std::string() << QStringList() << QStringLiteral("New Game (F2) starts a game") << 0;
        QTest::newRow("new game") << dealFirst << QStringList() << firstTurn << 1;
        QTest::newRow("after the player's first move")
            << dealFirst
            << QStringList{QStringLiteral(
                   "<0>3100<A>038d3112<3>118d<0>5100<A>032s5113<3>112s<0>6100<A>03Tc6114"
                   "<3>11Tc<1>3100<A>13Th3111<3>11Th<P>2<G>101000010401<G>200000000000</>")}
            << QString() << 2;
        // The computer moves first; the player's turn still begins the game.
        QTest::newRow("computer begins")
            << dealSecond + "<2>11Kh<D>0<2>1100<A>20Kh1151<0>51Kh<P>1</>" << QStringList()
            << firstTurn << 1;
        QTest::newRow("stopped game")
            << dealFirst << QStringList{QStringLiteral("<P>2<M>491209</>")}
            << QStringLiteral(
                   "Game stopped: Player No. 1 has 12 points, Player No. 2 has 9 "
                   "points.  New Game (F2) starts a new game.")
            << 0;
        QTest::newRow("game over")
            << dealFirst << QStringList{QStringLiteral("<M>502401</>")}
            << QStringLiteral(
                   "Player No. 1 won the game 24 to 1.  New Game (F2) starts a new game.")
            << 0;
    }
    void turnAndNotes() {
        QFETCH(std::string, deal);
        QFETCH(QStringList, replies);
        QFETCH(QString, note);
        QFETCH(int, turn);
        ProcessReply("<G>131102072809<G>231002072809</>");  // the last game's sheet
        if (!deal.empty()) {
            // A deal that names the computer is followed by its move, the
            // recorded reply's tail after the deal's terminator.
            const std::size_t end = deal.find("</>") + 3;
            if (end < deal.size())
                StandIn::Script({deal.substr(0, end), deal.substr(end) + "</>"});
            else
                StandIn::Script({deal});
            StartNewGame(TestLink(), TestMirror(), TestView());
            if (replies.isEmpty())
                for (QLabel* label :
                     {window->Aces1, window->Points1, window->Cards2, window->Points2})
                    QCOMPARE(label->text(), QStringLiteral("0"));
        }
        for (const QString& reply : replies) {
            if (reply.contains(QStringLiteral("<M>"))) AnswerNextConfirm(false);
            ProcessReply(reply.toLatin1().constData());
        }
        QCOMPARE(TestView().TableNote(), note);
        QCOMPARE(TestView().TurnShown(), turn);
        QCOMPARE(window->Player1Name->font().bold(), turn == 1);
        QCOMPARE(window->Player2Name->font().bold(), turn == 2);
    }

    // Without animation a flight item draws no frame; the item after it is run.
    void flightItemIsSkippedWithoutAnimation() {
        FlightWatch watch;
        window->Table->installEventFilter(&watch);
        TestMirror().settings.animation = false;
        ProcessReply("<A>03Ad3112<P>2</>");
        const int skipped = watch.frames;
        QCOMPARE(TestMirror().CurrentPlayer(), 2);
        TestMirror().settings.animation = true;
        ProcessReply("<A>03Ad3112<P>1</>");
        window->Table->removeEventFilter(&watch);
        QCOMPARE(skipped, 0);
        QCOMPARE(watch.frames, 4);
        QCOMPARE(TestMirror().CurrentPlayer(), 1);
    }

    void delayItemPauses() {
        TestMirror().settings.delayUnit = 20;
        QElapsedTimer clock;
        clock.start();
        ProcessReply("<D>3</>");
        QVERIFY(clock.elapsed() >= 55);
    }

    void remainingCardsRows() {
        ProcessReply("<U>c0000<U>h8191<U>s0001<U>d4096</>");
        const QString blank(24, QLatin1Char(' '));
        QCOMPARE(window->RemainClubs->text(), QStringLiteral("Clubs:      ") + blank + u' ');
        QCOMPARE(window->RemainHearts->text(),
                 QStringLiteral("Hearts:     2 3 4 5 6 7 8 9 T J Q K A"));
        QCOMPARE(window->RemainSpades->text(), QStringLiteral("Spades:     2") + blank);
        QCOMPARE(window->RemainDiamonds->text(), QStringLiteral("Diamonds:   ") + blank + u'A');
    }

    // Player 1's slot 4 with columns 2 and 7: all three are lit while the
    // question is open, column 4 is not; the item after the hint is run.
    void hintItemIsReadToItsEnd() {
        DealHands();
        for (int column : {2, 4, 7})
            DealPile(column, 1);
        QList<int> lit;
        AnswerNext<TConfirmBox>([&](TConfirmBox* box) {
            lit = {TestView().table.highlight[1][4], TestView().table.highlight[0][2],
                   TestView().table.highlight[0][7], TestView().table.highlight[0][4]};
            box->CancelButton->click();
        });
        ProcessReply("<?>1427<P>2</>");
        QCOMPARE(lit, (QList<int>{1, 1, 1, 0}));
        QCOMPARE(TestMirror().CurrentPlayer(), 2);
    }

    void playerOutOfRangeIsARangeError() {
        QVERIFY_THROWS_EXCEPTION(RangeError, ProcessReply("<P>3</>"));
        QCOMPARE(TestMirror().CurrentPlayer(), 1);
    }

    void applySettingsShowsTheComputerHandInTheNewBack() {
        for (int slot = 1; slot <= 3; ++slot) {
            TestView().DisplayCard(1, slot, 1, slot, kShow);
            TestView().DisplayCard(2, slot, 1, 58, kShow);
        }
        TestMirror().settings.backRank = 'Q';
        RequestBuffer buffer;
        ApplySettings(TestLink(), TestMirror(), TestView());
        for (int slot = 1; slot <= 3; ++slot) {
            QCOMPARE(TestView().table.handCards[1][slot], slot);
            QCOMPARE(TestView().table.handCards[2][slot], 64);
        }
        QCOMPARE(TestView().table.handCards[2][4], 0);
        QCOMPARE(Sent::requests, std::vector<std::string>{
                                     "<I>0QB<I>10Player No. 1<I>21Player No. 2<I>31<I>41<I>50</>"});
    }

    void requestHighScoresSendsTheKeyThenFifteenRows() {
        RequestBuffer buffer;
        RequestHighScores(TestLink(), 6);
        QCOMPARE(Sent::requests.size(), std::size_t(16));
        QCOMPARE(Sent::requests[0], std::string("<I>66</>"));
        QCOMPARE(Sent::requests[1], std::string("<H>01</>"));
        QCOMPARE(Sent::requests[15], std::string("<H>15</>"));
    }

    void startNewGameClearsTheTableAndSendsTheSettings() {
        TestMirror().settings.gameNumber = 7;
        TestView().DisplayCard(0, 1, 1, 9, kShow);
        StartNewGame(TestLink(), TestMirror(), TestView());
        QCOMPARE(TestView().table.pileDepth[0][1], 0);
        QCOMPARE(Sent::requests,
                 std::vector<std::string>{
                     "<I>06B<I>10Player No. 1<I>21Player No. 2<I>31<I>41<I>50<Z><K>7<U></>"});
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    RepliesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "replies_test.moc"
