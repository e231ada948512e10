// The words for a move, from replies recorded from the library: each kind of
// move the computer makes, the pickup that ends a round, and replies that
// report no move.
#include "table/movetext.h"

#include <QTest>

namespace {

// Alice Brown and Benjamin Cox, with the sweeps and the bottom card of one
// column as they stood before the move.
MoveContext Before(int sweeps1, int sweeps2, int column = 1, int bottomRank = 0) {
    MoveContext context;
    context.names[1] = "Alice Brown";
    context.names[2] = "Benjamin Cox";
    context.sweeps[1] = sweeps1;
    context.sweeps[2] = sweeps2;
    context.bottomRank[column] = bottomRank;
    return context;
}

}  // namespace

Q_DECLARE_METATYPE(std::string)

class MoveTextTest : public QObject {
    Q_OBJECT

  private slots:
    void computerMoves_data() {
        QTest::addColumn<std::string>("reply");
        QTest::addColumn<int>("bottomOfColumn6");
        QTest::addColumn<int>("sweeps2");
        QTest::addColumn<QString>("words");
        QTest::newRow("take")
            << std::string(
                   "<2>316c<D>0<0>5100<A>046d5112<4>116d<2>3100<A>246c3111<4>116c<P>1"
                   "<G>100000000400<G>200000000200<U>c5099<U>d7651<U>h8191<U>s8191</>")
            << 0 << 0 << "Benjamin Cox took the 6 of diamonds with the 6 of clubs";
        QTest::newRow("take of three piles")
            << std::string(
                   "<1>31Kc<D>0<0>4100<A>035d4112<3>115d<0>5100<A>034d5113<3>114d<0>6100"
                   "<A>034c6114<3>114c<1>3100<A>13Kc3111<3>11Kc<P>2<G>100000000400"
                   "<G>200000000000<U>c6139<U>d7667<U>h8191<U>s8191</>")
            << 0 << 0
            << "Alice Brown took the 5 of diamonds, the 4 of diamonds and the 4 of clubs with the "
               "king of clubs";
        QTest::newRow("build") << std::string(
                                      "<2>218d<D>0<2>2100<A>208d2162<0>628d<T>6Q<P>1<G>101000020701"
                                      "<G>210000000501<U>c5099<U>d1443<U>h8187<U>s6142</>")
                               << 4 << 0 << "Benjamin Cox built 12 with the 8 of diamonds";
        // The same reply tells a build of 14 on a king from a block of aces.
        QTest::newRow("build of 14 with an ace")
            << std::string(
                   "<1>21Ah<D>0<1>2100<A>10Ah2162<0>62Ah<T>6A<P>2<G>110000031001"
                   "<G>211100082605<U>c0009<U>d4213<U>h2689<U>s0020</>")
            << 13 << 0 << "Alice Brown built 14 with the ace of hearts";
        QTest::newRow("block of aces")
            << std::string(
                   "<1>21Ah<D>0<1>2100<A>10Ah2162<0>62Ah<T>6A<P>2<G>110000031001"
                   "<G>211100082605<U>c0009<U>d4213<U>h2689<U>s0020</>")
            << 1 << 0 << "Alice Brown blocked the aces with the ace of hearts";
        QTest::newRow("put") << std::string(
                                    "<2>216d<D>0<2>2100<A>206d2151<0>516d<P>1<G>100000000400"
                                    "<G>200000000000<U>c6139<U>d7651<U>h8191<U>s8191</>")
                             << 0 << 0 << "Benjamin Cox put the 6 of diamonds on the table";
        QTest::newRow("sweep")
            << std::string(
                   "<2>11Jc<D>0<0>4100<A>046h4119<4>116h<0>5100<A>045h5119<4>115h<2>1100"
                   "<A>24Jc1119<4>11Jc<P>1<G>101100051403<G>220001031803<U>c0361"
                   "<U>d1057<U>h6595<U>s5232</>")
            << 0 << 0
            << "Benjamin Cox took the 6 of hearts and the 5 of hearts with the jack of clubs and "
               "made a sweep";
        QTest::newRow("end of a round")
            << std::string(
                   "<2>317d<D>0<2>3100<A>207d3161<0>617d<P>1<D>0<0>4100<A>046s4119"
                   "<4>116s<0>5100<A>049h5119<4>119h<0>6100<A>047d6119<4>117d<0>3100"
                   "<A>042h3119<4>112h<P>1<G>121102082308<G>220001052906<U>c0000"
                   "<U>d0000<U>h0000<U>s0000<M>490806</>")
            << 0 << 1
            << "Benjamin Cox put the 7 of diamonds on the table\nBenjamin Cox took the last cards";
    }
    void computerMoves() {
        QFETCH(std::string, reply);
        QFETCH(int, bottomOfColumn6);
        QFETCH(int, sweeps2);
        QFETCH(QString, words);
        QVERIFY(IsComputerMove(reply));
        QCOMPARE(DescribeMove(reply, Before(0, sweeps2, 6, bottomOfColumn6)), words);
    }

    // The player's own move has words too, but no reveal (the computer chose
    // no block in 1500 games of its own, so a block comes from the player); a
    // deal, a menu and an error report no move.
    void otherReplies() {
        const std::string block =
            "<1>2100<A>103d2172<0>723d<T>73<P>2<G>110000010601"
            "<G>200000000000<U>c5341<U>d8185<U>h4053<U>s5100</>";
        QVERIFY(!IsComputerMove(block));
        QCOMPARE(DescribeMove(block, Before(0, 0, 7, 3)),
                 QStringLiteral("Alice Brown blocked the 3s with the 3 of diamonds"));
        const std::string deal =
            "<1>114c<2>116b<1>21Ad<2>216b<1>31Th<2>316b<1>419s<2>416b<0>51Ts"
            "<0>41As<0>618d<0>317d<P>1<U>c8187<U>d3999<U>h7935<U>s3711</>";
        for (const std::string& reply : {deal, std::string("<M>13</>"),
                                         std::string("<E>No moves possible</>"), std::string()}) {
            QVERIFY(!IsComputerMove(reply));
            QVERIFY(DescribeMove(reply, Before(0, 0)).isEmpty());
        }
    }
};

QTEST_APPLESS_MAIN(MoveTextTest)

#include "movetext_test.moc"
