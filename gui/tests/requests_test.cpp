// Building requests, sending them, the follow-up loop, the trace log and
// binding the library.
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "core/mirror.h"
#include "link/logiclink.h"
#include "link/selection.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"

class RequestsTest : public QObject {
    Q_OBJECT

  private slots:
    // Replies draw: the window's widgets are there.
    void init() { FreshTest(); }
    void cleanup() { CloseTestWindow(); }

    void settingsMessageWithDefaults() {
        RequestBuffer buffer;
        MakeMessage('I', buffer);
        MakeSettingsMessage(TestMirror().settings, buffer);
        QCOMPARE(BufferText(buffer), std::string("<I>06B<I>10Player No. 1<I>21Player No. 2"
                                                 "<I>31<I>41<I>50"));
        QCOMPARE(buffer.writePos, int(BufferText(buffer).size()));
    }

    void settingsMessageCarriesChangedSettings() {
        TestMirror().settings.player1Name = "Ann";
        TestMirror().settings.player2Name = "12345678901234567890";
        TestMirror().settings.player2Level = 9;
        TestMirror().settings.backRank = 'T';
        TestMirror().settings.sound = false;
        TestMirror().settings.animation = false;
        TestMirror().settings.delaySetting = 7;
        RequestBuffer buffer;
        MakeMessage('I', buffer);
        MakeSettingsMessage(TestMirror().settings, buffer);
        QCOMPARE(BufferText(buffer),
                 std::string("<I>0TB<I>10Ann<I>2912345678901234567890<I>30<I>40<I>57"));
    }

    void moveMessageListsHighlightedColumnsInOrder() {
        TestView().table.highlight[0][7] = 1;
        TestView().table.highlight[0][3] = 1;
        TestView().table.highlight[1][2] = 1;  // a hand slot is not a column
        RequestBuffer buffer;
        MakeMessage('1', buffer);
        MakeMoveMessage(TestView(), 2, buffer);
        QCOMPARE(BufferText(buffer), std::string("<1>237"));

        TestView().table.highlight[0][3] = 0;
        TestView().table.highlight[0][7] = 0;
        MakeMessage('2', buffer);
        MakeMoveMessage(TestView(), 4, buffer);
        buffer[buffer.writePos] = '\0';
        QCOMPARE(BufferText(buffer), std::string("<2>4"));
    }

    void highScoreRowsAreTwoDigits() {
        MessageLog log;
        const std::pair<int, const char*> rows[] = {
            {0, "<H>00"}, {1, "<H>01"}, {9, "<H>09"}, {10, "<H>10"}, {15, "<H>15"}};
        for (const auto& [row, text] : rows) {
            RequestBuffer buffer;
            MakeMessage('H', buffer);
            MakeGetHighScoresMessage(row, buffer);
            QCOMPARE(BufferText(buffer), std::string(text));
        }
        QVERIFY(log.texts.isEmpty());

        RequestBuffer buffer;
        MakeMessage('H', buffer);
        MakeGetHighScoresMessage(16, buffer);
        QCOMPARE(BufferText(buffer), std::string("<H>16"));
        QCOMPARE(log.texts, QStringList{QStringLiteral(
                                "MakeGetHighScoresMessage Procedure canna handle more than 15 "
                                "high scores!!!")});
    }

    void requestBufferIsRangeChecked() {
        RequestBuffer buffer;
        MakeMessage('@', buffer);
        for (int i = 3; i < kRequestSize; ++i)
            AddChar('x', buffer);
        QCOMPARE(buffer.writePos, kRequestSize);
        QVERIFY_THROWS_EXCEPTION(RangeError, AddChar('x', buffer));
        QVERIFY_THROWS_EXCEPTION(RangeError, buffer[-1]);
    }

    // The terminator item and its zero must fit: a request that ends at 252
    // is sent, one that ends at 253 is refused before the library sees it.
    void terminatorMustFitTheBuffer() {
        RequestBuffer buffer;
        MakeMessage('@', buffer);
        while (buffer.writePos < 252)
            AddChar('x', buffer);
        TestLink().Send(buffer);
        QCOMPARE(Sent::requests.size(), std::size_t(1));
        QCOMPARE(Sent::requests[0].size(), std::size_t(255));

        MakeMessage('@', buffer);
        while (buffer.writePos < 253)
            AddChar('x', buffer);
        QVERIFY_THROWS_EXCEPTION(RangeError, TestLink().Send(buffer));
        QCOMPARE(Sent::requests.size(), std::size_t(1));
    }

    void sendAppendsTheTerminatorAndResetsTheWritePosition() {
        RequestBuffer buffer;
        MakeMessage('V', buffer);
        TestLink().Send(buffer);
        QCOMPARE(Sent::requests, std::vector<std::string>{"<V></>"});
        QCOMPARE(TestLink().Waiting().writePos, 0);
    }

    // A chain of computer moves runs with no user action: every reply that
    // names a computer player leaves exactly one "<C>".
    void computerMovesFollowEachOther() {
        TestMirror().playerIsComputer[1] = 0;
        TestMirror().playerIsComputer[2] = 1;
        StandIn::Script({"<P>2</>", "<P>2</>", "<P>2<P>2</>", "<P>1</>"});
        RequestBuffer buffer;
        MakeMessage('1', buffer);
        AddDigit(1, buffer);
        TestLink().Send(buffer);
        QCOMPARE(Sent::requests,
                 (std::vector<std::string>{"<1>1</>", "<C></>", "<C></>", "<C></>"}));
        QCOMPARE(TestMirror().CurrentPlayer(), 1);
        QCOMPARE(TestLink().Waiting().writePos, 0);
    }

    // A menu answer is sent from inside the reply that asked, and the rest of
    // that reply is processed after it.
    void nestedSendCompletesBeforeTheNextItem() {
        StandIn::Script({"<M>11<P>2</>", "<G>100000000000</>"});
        AnswerNextModal([](QWidget* box) { box->close(); });  // Choose Action: cancelled
        RequestBuffer buffer;
        MakeMessage('1', buffer);
        AddDigit(3, buffer);
        AddDigit(5, buffer);
        TestLink().Send(buffer);
        QCOMPARE(Sent::requests, (std::vector<std::string>{"<1>35</>", "<Y>0</>", "<C></>"}));

        // The answer's reply, and the computer's move it leaves, are handled
        // before the asking reply's next item, which hands the turn back.
        Sent::Clear();
        StandIn::Script({"<M>11<P>1</>", "<P>2</>", "</>"});
        AnswerNextModal([](QWidget* box) { box->close(); });
        MakeMessage('1', buffer);
        AddDigit(3, buffer);
        TestLink().Send(buffer);
        QCOMPARE(Sent::requests, (std::vector<std::string>{"<1>3</>", "<Y>0</>", "<C></>"}));
        QCOMPARE(TestMirror().CurrentPlayer(), 1);
    }

    // A pause holds everything up: the follow-up goes out after it, and no
    // event is handled meanwhile.
    void pauseBlocksUntilItEnds() {
        TestMirror().settings.delayUnit = 20;
        StandIn::Script({"<D>5<P>2</>", "</>"});
        std::size_t sentWhenHandled = 0;
        QTimer::singleShot(0, [&] { sentWhenHandled = Sent::requests.size(); });
        QElapsedTimer clock;
        clock.start();
        RequestBuffer buffer;
        MakeMessage('1', buffer);
        AddDigit(1, buffer);
        TestLink().Send(buffer);
        QVERIFY(clock.elapsed() >= 95);
        QCOMPARE(Sent::requests, (std::vector<std::string>{"<1>1</>", "<C></>"}));
        QTRY_COMPARE(sentWhenHandled, std::size_t(2));
    }

    void missingEntryIsReportedOnEverySend() {
        MessageLog log;
        TestLink().SetEntry(nullptr);
        RequestBuffer buffer;
        for (int i = 0; i < 2; ++i) {
            MakeMessage('V', buffer);
            TestLink().Send(buffer);
        }
        QCOMPARE(log.texts, QStringList(2, QStringLiteral("DLL FUNCTION NOT ASSIGNED!")));
        QCOMPARE(TestLink().Waiting().writePos, 0);
    }

    void debugModeShowsRequestsRepliesAndErrors() {
        MessageLog log;
        StandIn::Script({"<E>No moves possible</>"});
        RequestBuffer buffer;
        MakeMessage('C', buffer);
        TestLink().Send(buffer);
        QVERIFY(log.texts.isEmpty());

        TestMirror().debugFlag = true;
        StandIn::Script({"<E>No moves possible</>"});
        MakeMessage('C', buffer);
        TestLink().Send(buffer);
        QCOMPARE(log.texts, (QStringList{QStringLiteral("sending <C></>"),
                                         QStringLiteral("<E>No moves possible</> 23"),
                                         QStringLiteral("ERROR MESSAGE RECEIVED FROM LOGIC: "
                                                        "No moves possible")}));
    }

    void traceLogHoldsRequestAndReplyLines() {
        QVERIFY(TestLink().OpenTraceLog(QStringLiteral("trace.txt")));
        StandIn::Script({"<V>banner</>", "<P>1</>"});
        RequestBuffer buffer;
        MakeMessage('V', buffer);
        TestLink().Send(buffer);
        MakeMessage('U', buffer);
        TestLink().Send(buffer);
        TestLink().CloseTraceLog();
        MakeMessage('Q', buffer);
        TestLink().Send(buffer);  // not traced any more

        QFile file(QStringLiteral("trace.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("-> <V></>\n<- <V>banner</>\n"
                                            "-> <U></>\n<- <P>1</>\n"));
    }

    void failedLoadNamesTheLibraryFile() {
        MessageLog log;
        QVERIFY(!TestLink().Bind(QStringLiteral("/nonexistent-folder")));
        QCOMPARE(log.texts, QStringList{QStringLiteral(
                                "Casino has failed to load.  Please make sure that libcasino.so "
                                "is in the same directory as the program")});
        QVERIFY(TestLink().Entry() == nullptr);
    }

    void libraryWithoutEntryLoadsButCannotBeCalled() {
        MessageLog log;
        QVERIFY(TestLink().Bind(QStringLiteral(NOENTRY_DIR)));
        QVERIFY(TestLink().Entry() == nullptr);
        RequestBuffer buffer;
        MakeMessage('V', buffer);
        TestLink().Send(buffer);
        QCOMPARE(log.texts, QStringList{QStringLiteral("DLL FUNCTION NOT ASSIGNED!")});
        TestLink().Release();
    }

    void realLibraryIsBoundByItsEntryName() {
        QVERIFY(TestLink().Bind(QStringLiteral(CASINO_LIB_DIR)));
        QVERIFY(TestLink().Entry() != nullptr);
        TestLink().Release();
        QVERIFY(TestLink().Entry() == nullptr);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    RequestsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "requests_test.moc"
