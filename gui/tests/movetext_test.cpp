// The words on the table and in the hint question, from replies recorded from
// the library: each kind of move, the pickup that ends a round, replies that
// report no move, and the hint's move told from the player's side. Each row
// first draws the table as it stood (a recorded deal or a few cards, the
// score lines), then reads the row's reply.
#include "table/movetext.h"

#include <QTest>

#include "dialogs/boxes.h"
#include "link/replies.h"
#include "table/notedraw.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

Q_DECLARE_METATYPE(std::string)

namespace {

// A deal recorded from the library: player 1 holds the 3 of diamonds, 4 of
// hearts, 10 of hearts and 6 of clubs; the table holds the 8 of diamonds, 8
// of hearts, 2 of spades and 10 of clubs in columns 3 to 6.
const char kDeal[] =
    "<1>113d<2>11Kh<1>214h<2>21Ad<1>31Th<2>31Td<1>416c<2>414c<0>512s<0>418h<0>61Tc<0>318d<P>1</>";

}  // namespace

class MoveTextTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  private slots:
    void init() {
        window = FreshTest();
        TestMirror().settings.player1Name = "Alice Brown";
        TestMirror().settings.player2Name = "Benjamin Cox";
    }
    void cleanup() { CloseTestWindow(); }

    void words_data() {
        QTest::addColumn<std::string>("before");
        QTest::addColumn<std::string>("reply");
        QTest::addColumn<QString>("words");
        QTest::newRow("take")
            << std::string()
            << std::string(
                   "<2>316c<D>0<0>5100<A>046d5112<4>116d<2>3100<A>246c3111<4>116c<P>1"
                   "<G>100000000400<G>200000000200<U>c5099<U>d7651<U>h8191<U>s8191</>")
            << "Benjamin Cox took the 6 of diamonds with the 6 of clubs";
        QTest::newRow("take of three piles")
            << std::string()
            << std::string(
                   "<1>31Kc<D>0<0>4100<A>035d4112<3>115d<0>5100<A>034d5113<3>114d<0>6100"
                   "<A>034c6114<3>114c<1>3100<A>13Kc3111<3>11Kc<P>2<G>100000000400"
                   "<G>200000000000<U>c6139<U>d7667<U>h8191<U>s8191</>")
            << "Alice Brown took the 5 of diamonds, the 4 of diamonds and the 4 of clubs with the "
               "king of clubs";
        // More than four cards are counted; the scoring cards among them are named.
        QTest::newRow("take of six cards")
            << std::string()
            << std::string(
                   "<2>31Qh<D>0<0>2100<A>04Ah2119<4>11Ah<0>3100<A>045d3119<4>115d<0>4100"
                   "<A>04Jd4119<4>11Jd<0>5100<A>04Qd5119<4>11Qd<0>7200<A>043h7219<4>113h"
                   "<0>7100<A>044d7119<4>114d<2>3100<A>24Qh3119<4>11Qh<P>1<G>100000071601"
                   "<G>230100032105<U>c5160<U>d0131<U>h0928<U>s0049</>")
            << "Benjamin Cox took 6 cards, the ace of hearts among them, with the queen of hearts";
        QTest::newRow("take of four cards, then the last cards")
            << std::string()
            << std::string(
                   "<1>41Js<D>0<0>5100<A>038c5119<3>118c<0>7200<A>036c7219<3>116c<0>7100"
                   "<A>035d7119<3>115d<0>8100<A>033d8119<3>113d<1>4100<A>13Js4119<3>11Js<P>2"
                   "<D>0<0>6100<A>03Kc6119<3>11Kc<0>4100<A>037d4119<3>117d<P>2<G>110100062603"
                   "<G>231000072605<U>c0000<U>d0000<U>h0000<U>s0000<M>491209</>")
            << "Alice Brown took the 8 of clubs, the 6 of clubs, the 5 of diamonds and the 3 of "
               "diamonds with the jack of spades\nAlice Brown took the last cards";
        QTest::newRow("build") << std::string("<0>614h</>")
                               << std::string(
                                      "<2>218d<D>0<2>2100<A>208d2162<0>628d<T>6Q<P>1<G>101000020701"
                                      "<G>210000000501<U>c5099<U>d1443<U>h8187<U>s6142</>")
                               << "Benjamin Cox built 12 for a queen with the 8 of diamonds";
        QTest::newRow("build of 11")
            << std::string("<0>715h</>")
            << std::string(
                   "<1>116c<D>0<1>1100<A>106c1172<0>726c<T>7J<P>2<G>110100051903"
                   "<G>231000072605<U>c0000<U>d0002<U>h0000<U>s0512</>")
            << "Alice Brown built 11 for a jack with the 6 of clubs";
        // The same reply tells a build of 14 on a king from a block of aces.
        QTest::newRow("build of 14 with an ace")
            << std::string("<0>61Kd</>")
            << std::string(
                   "<1>21Ah<D>0<1>2100<A>10Ah2162<0>62Ah<T>6A<P>2<G>110000031001"
                   "<G>211100082605<U>c0009<U>d4213<U>h2689<U>s0020</>")
            << "Alice Brown built 14 for an ace with the ace of hearts";
        QTest::newRow("block of aces")
            << std::string("<0>61Ac</>")
            << std::string(
                   "<1>21Ah<D>0<1>2100<A>10Ah2162<0>62Ah<T>6A<P>2<G>110000031001"
                   "<G>211100082605<U>c0009<U>d4213<U>h2689<U>s0020</>")
            << "Alice Brown blocked the aces with the ace of hearts";
        // The player's own block (the computer chose none in 1500 games).
        QTest::newRow("block") << std::string("<0>713c</>")
                               << std::string(
                                      "<1>2100<A>103d2172<0>723d<T>73<P>2<G>110000010601"
                                      "<G>200000000000<U>c5341<U>d8185<U>h4053<U>s5100</>")
                               << "Alice Brown blocked the 3s with the 3 of diamonds";
        QTest::newRow("put") << std::string()
                             << std::string(
                                    "<2>216d<D>0<2>2100<A>206d2151<0>516d<P>1<G>100000000400"
                                    "<G>200000000000<U>c6139<U>d7651<U>h8191<U>s8191</>")
                             << "Benjamin Cox put the 6 of diamonds on the table";
        QTest::newRow("no room")
            << std::string()
            << std::string(
                   "<2>113s<D>0<F>113s<2>1100<A>243s1111<4>113s<P>1<G>100000000200"
                   "<G>200000010100<U>c5997<U>d8191<U>h6325<U>s8157</>")
            << "Benjamin Cox found no room on the table and put the 3 of spades on its capture "
               "pile";
        QTest::newRow("sweep")
            << std::string()
            << std::string(
                   "<2>11Jc<D>0<0>4100<A>046h4119<4>116h<0>5100<A>045h5119<4>115h<2>1100"
                   "<A>24Jc1119<4>11Jc<P>1<G>101100051403<G>220001031803<U>c0361"
                   "<U>d1057<U>h6595<U>s5232</>")
            << "Benjamin Cox took the 6 of hearts and the 5 of hearts with the jack of clubs and "
               "made a sweep";
        QTest::newRow("end of a round")
            << std::string("<G>200001000000</>")
            << std::string(
                   "<2>317d<D>0<2>3100<A>207d3161<0>617d<P>1<D>0<0>4100<A>046s4119"
                   "<4>116s<0>5100<A>049h5119<4>119h<0>6100<A>047d6119<4>117d<0>3100"
                   "<A>042h3119<4>112h<P>1<G>121102082308<G>220001052906<U>c0000"
                   "<U>d0000<U>h0000<U>s0000<M>490806</>")
            << "Benjamin Cox put the 7 of diamonds on the table\nBenjamin Cox took the last cards";
        for (const char* reply : {kDeal, "<M>13</>", "<E>No moves possible</>", ""})
            QTest::newRow("no move") << std::string() << std::string(reply) << QString();

        // The hint's question, from player 1's side.
        const QString opening = QStringLiteral("The computer recommends this move:\n");
        const QString closing = QStringLiteral("\nWould you like to use it?");
        QTest::newRow("hint: take")
            << std::string(kDeal) << std::string("<?>13356</>")
            << opening +
                   "Take the 8 of diamonds, the 2 of spades and the 10 of clubs with the 10 of "
                   "hearts.\nIt wins 4 cards, the 2 of spades and 1 spade." +
                   closing;
        QTest::newRow("hint: take one pile")
            << std::string(kDeal) << std::string("<?>136</>")
            << opening + "Take the 10 of clubs with the 10 of hearts.\nIt wins 2 cards." + closing;
        QTest::newRow("hint: take and sweep")
            << std::string("<1>115h<1>215s<1>31Ad<0>415c</>") << std::string("<?>114</>")
            << opening + "Take the 5 of clubs with the 5 of hearts.\nIt wins 2 cards and a sweep." +
                   closing;
        QTest::newRow("hint: take of five cards")
            << std::string("<1>11Kd<0>112s<0>213c<0>314h<0>41Ad<0>513s<0>619h</>")
            << std::string("<?>1112345</>")
            << opening +
                   "Take 5 cards, the 2 of spades, the ace of diamonds and the 3 of spades among "
                   "them, with the king of diamonds.\nIt wins 6 cards, an ace, the 2 of spades "
                   "and 2 spades." +
                   closing;
        QTest::newRow("hint: build") << std::string(kDeal) << std::string("<?>125</>")
                                     << opening + "Build 6 with the 4 of hearts." + closing;
        QTest::newRow("hint: build on a build")
            << std::string("<1>113s<1>21Kd<0>215h<0>225d<T>2T<0>61Ac</>")
            << std::string("<?>112</>")
            << opening + "Build 13 for a king with the 3 of spades." + closing;
        QTest::newRow("hint: put") << std::string(kDeal) << std::string("<?>11</>")
                                   << opening + "Put the 3 of diamonds on the table." + closing;
        QTest::newRow("hint: no room")
            << std::string(
                   "<1>11Qc<0>112c<0>213c<0>314c<0>415c<0>516c<0>617c<0>718c<0>819c"
                   "<0>91Tc</>")
            << std::string("<?>11</>")
            << opening +
                   "Put the queen of clubs on your capture pile, as the table has no room.\n"
                   "It wins 1 card." +
                   closing;
    }
    void words() {
        QFETCH(std::string, before);
        QFETCH(std::string, reply);
        QFETCH(QString, words);
        if (!before.empty()) ProcessReply(before.c_str());
        if (reply.rfind("<?>", 0) == 0) {
            ConfirmAnswer seen;
            AnswerNextConfirm(false, &seen);
            ProcessReply(reply.c_str());
            QVERIFY(seen.asked);
            QCOMPARE(seen.text, words);
            return;
        }
        QCOMPARE(DescribeMove(reply, MoveContextNow(TestView())), words);
    }

    // A sentence too long for one line breaks once, between two phrases: each
    // card's name stays whole on one line.
    // A list of cards is one phrase: no break before one of its cards.
    void longSentenceBreaksBetweenPhrases() {
        for (const char* sentence :
             {"Benjamin Cox took the 6 of hearts and the 5 of hearts with the jack of clubs and "
              "made a sweep",
              "Benjamin Cox took the 2 of hearts, the 10 of diamonds, the 4 of clubs and the 3 of "
              "spades with the king of spades"}) {
            QFont font;
            font.setBold(true);
            font.setPixelSize(kNoteSmallest);
            const QString text = QString::fromLatin1(sentence);
            const int width = QFontMetrics(font).horizontalAdvance(text) * 5 / 6;
            const QStringList lines = FitLines(text, font, width).split(QLatin1Char('\n'));
            QCOMPARE(lines.size(), 2);
            for (const QString& line : lines)
                QVERIFY(QFontMetrics(font).horizontalAdvance(line) <= width);
            QVERIFY2(!lines[1].startsWith(QLatin1String("the ")) &&
                         !lines[1].startsWith(QLatin1String("and the ")),
                     qPrintable(lines.join(QStringLiteral(" / "))));
        }
    }

    // A computer's move opens with its card shown in its hand and the pause;
    // the player's own move and a deal do not.
    void computerMoveIsTold() {
        QVERIFY(IsComputerMove("<2>216d<D>0<2>2100<A>206d2151<0>516d<P>1</>"));
        QVERIFY(!IsComputerMove("<1>2100<A>103d2172<0>723d<T>73<P>2</>"));
        QVERIFY(!IsComputerMove(kDeal));
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    MoveTextTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "movetext_test.moc"
