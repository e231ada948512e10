// Checks the card pictures as the table view will use them: sizes at both
// screen densities, every face really drawn from its own element of the deck,
// backs that differ in colour, and a mask that fits every card.
#include "pictures.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kMask = 100;

QImage ImageOf(int number, qreal ratio) {
    return pictures::Picture(number, ratio)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The deck's id for a face, built from the card numbering: rank + 13 x suit
// index, suits in the order clubs, diamonds, hearts, spades.
QString DeckId(int number) {
    const QStringList suits = {"club", "diamond", "heart", "spade"};
    const QStringList courts = {"jack", "queen", "king"};
    const int rank = (number - 1) % 13 + 1;
    const QString suit = suits[(number - 1) / 13];
    return (rank > 10 ? courts[rank - 11] : QString::number(rank)) + "_" + suit;
}

// Largest difference of any channel of any pixel; INT_MAX for other sizes.
int MaxDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return INT_MAX;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return most;
}

// Pixels of the inside of a card (away from its edge) that are neither
// white nor transparent: ink that a blank card does not have.
int InkPixels(const QImage& image) {
    int ink = 0;
    const int margin = image.width() / 10;
    for (int y = margin; y < image.height() - margin; ++y)
        for (int x = margin; x < image.width() - margin; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255 && qGray(p) < 200) ++ink;
        }
    return ink;
}

// Neighbouring pixels (across and down) inside `area` whose greys differ by
// more than 48 of 255: the sharp edges of a drawing.
int SharpEdges(const QImage& image, const QRect& area) {
    int edges = 0;
    for (int y = area.top(); y < area.bottom(); ++y)
        for (int x = area.left(); x < area.right(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            edges += std::abs(grey - qGray(image.pixel(x + 1, y))) > 48;
            edges += std::abs(grey - qGray(image.pixel(x, y + 1))) > 48;
        }
    return edges;
}

QColor MeanColour(const QImage& image) {
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
        }
    return QColor(int(r / n), int(g / n), int(b / n));
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void SizesAtEachRatio_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("2") << 2.0;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("3") << 3.0;
    }
    void SizesAtEachRatio() {
        QFETCH(qreal, ratio);
        QList<int> numbers;
        for (int n = 1; n <= 65; ++n)
            numbers << n;
        numbers << kMask << 101 << 102;
        for (int n : numbers) {
            const QPixmap pixmap = pictures::Picture(n, ratio);
            const QSize logical = n > kMask ? QSize(71, 14) : QSize(71, 96);
            QVERIFY2(!pixmap.isNull(), qPrintable(QString::number(n)));
            QCOMPARE(pixmap.devicePixelRatio(), ratio);
            QCOMPARE(pixmap.size(), (QSizeF(logical) * ratio).toSize());
            QCOMPARE(pixmap.deviceIndependentSize().toSize(), logical);
        }
    }

    void UnknownNumbersHaveNoPicture() {
        for (int n : {-1, 0, 66, 99, 103, 1000})
            QVERIFY(pictures::Picture(n, 1).isNull());
        // A ratio the screen never reports still yields a usable picture.
        QCOMPARE(pictures::Picture(7, 0).size(), QSize(71, 96));
        QCOMPARE(pictures::Picture(7, qQNaN()).size(), QSize(71, 96));
    }

    void RepeatedRequestsShareOnePicture() {
        QCOMPARE(pictures::Picture(12, 2).cacheKey(), pictures::Picture(12, 2).cacheKey());
        QVERIFY(pictures::Picture(12, 2).cacheKey() != pictures::Picture(12, 1).cacheKey());
    }

    // A wrong element id renders nothing and says nothing, so every face is
    // compared with a fresh rendering of the element its number stands for.
    void EachFaceIsItsOwnDeckCard_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("2") << 2.0;
    }
    void EachFaceIsItsOwnDeckCard() {
        QFETCH(qreal, ratio);
        QSvgRenderer deck(QStringLiteral(CASINO_CARD_DECK));
        QVERIFY(deck.isValid());
        for (int n = 1; n <= 52; ++n) {
            QVERIFY2(deck.elementExists(DeckId(n)), qPrintable(DeckId(n)));
            QImage expected(QSize(71, 96) * ratio, QImage::Format_ARGB32_Premultiplied);
            expected.fill(Qt::transparent);
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(ratio, ratio);
            deck.render(&painter, DeckId(n), QRectF(0, 0, 71, 96));
            painter.end();
            // The stored pictures went through PNG, which rounds faint edge pixels.
            QVERIFY2(MaxDifference(ImageOf(n, ratio), expected) <= 4, qPrintable(DeckId(n)));
        }
    }

    // A figure drawn at the screen's density has sharp edges where the same
    // figure enlarged from its ratio 1 picture has only soft ones; a bitmap
    // scaled up by the renderer is as soft at ratio 2 as the enlargement.
    void CourtFiguresAreSharpAtRatioTwo() {
        const QRect figure(30, 40, 82, 112);  // the middle of a card at ratio 2
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 11; rank <= 13; ++rank) {
                const int n = rank + 13 * suit;
                const QImage sharp = ImageOf(n, 2);
                const QImage enlarged = ImageOf(n, 1).scaled(sharp.size(), Qt::IgnoreAspectRatio,
                                                             Qt::SmoothTransformation);
                const int drawn = SharpEdges(sharp, figure), scaled = SharpEdges(enlarged, figure);
                QVERIFY2(drawn > 2 * scaled, qPrintable(QString("%1: %2 sharp edges, enlarged %3")
                                                            .arg(DeckId(n))
                                                            .arg(drawn)
                                                            .arg(scaled)));
            }
    }

    void AllCardsDifferAndNoneIsBlank() {
        for (qreal ratio : {1.0, 2.0}) {
            QList<QImage> cards;
            for (int n = 1; n <= 65; ++n) {
                cards << ImageOf(n, ratio);
                QVERIFY2(InkPixels(cards.last()) > 40 * ratio * ratio,
                         qPrintable(QString::number(n)));
            }
            for (int a = 0; a < cards.size(); ++a)
                for (int b = a + 1; b < cards.size(); ++b)
                    QVERIFY2(MaxDifference(cards[a], cards[b]) > 64,
                             qPrintable(QString("%1 and %2").arg(a + 1).arg(b + 1)));
        }
    }

    // Red suits show red pips and black suits none: the suit order of the
    // numbering holds. Court cards are left out, their robes are red in every suit.
    void PipColoursFollowTheSuits() {
        auto redPixels = [](const QImage& image) {
            int red = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    if (qAlpha(p) == 255 && qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80) ++red;
                }
            return red;
        };
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 1; rank <= 10; ++rank) {
                const int red = redPixels(ImageOf(rank + 13 * suit, 1));
                const bool redSuit = suit == 1 || suit == 2;
                QVERIFY2(redSuit ? red > 20 : red == 0, qPrintable(DeckId(rank + 13 * suit)));
            }
    }

    // A player picks the back by colour as much as by pattern.
    void BacksDifferInColour() {
        QList<QColor> means;
        for (int n = 53; n <= 65; ++n)
            means << MeanColour(ImageOf(n, 1).copy(8, 8, 55, 80));
        for (int a = 0; a < means.size(); ++a)
            for (int b = a + 1; b < means.size(); ++b) {
                const int distance = std::abs(means[a].red() - means[b].red()) +
                                     std::abs(means[a].green() - means[b].green()) +
                                     std::abs(means[a].blue() - means[b].blue());
                QVERIFY2(distance > 40, qPrintable(QString("backs %1 and %2, distance %3")
                                                       .arg(a + 53)
                                                       .arg(b + 53)
                                                       .arg(distance)));
            }
    }

    // The mask is clear outside every card (so it clears the corners and keeps
    // the card) and white only where every card is all but solid (so the
    // highlight, an exclusive-or through it, never turns the table showing
    // through a card's smooth edge into a garish colour). The court cards'
    // outlines stray by a fraction of a pixel from the others': a faint trace
    // of them falls outside, and the table shows faintly through their rim.
    void MaskIsTheOutlineOfEveryCard() {
        for (qreal ratio : {1.0, 2.0, 1.5}) {
            const QImage mask = ImageOf(kMask, ratio);
            const int right = mask.width() - 1, bottom = mask.height() - 1;
            for (QPoint corner :
                 {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
                QCOMPARE(mask.pixel(corner), QRgb(0));
            QCOMPARE(mask.pixel(right / 2, bottom / 2), QRgb(0xffffffff));
            QCOMPARE(mask.pixel(right / 2, 0), QRgb(0xffffffff));
            QCOMPARE(mask.pixel(0, bottom / 2), QRgb(0xffffffff));

            for (int n = 1; n <= 65; ++n) {
                const QImage card = ImageOf(n, ratio);
                for (int y = 0; y < card.height(); ++y)
                    for (int x = 0; x < card.width(); ++x) {
                        const QRgb m = mask.pixel(x, y);
                        const int alpha = qAlpha(card.pixel(x, y));
                        const bool fits = m == 0             ? alpha < 16
                                          : m == 0xffffffffu ? alpha >= 240
                                                             : m == 0xff000000u;
                        if (!fits)
                            QFAIL(qPrintable(
                                QString("card %1 at ratio %2: alpha %3, mask %4 at %5,%6")
                                    .arg(n)
                                    .arg(ratio)
                                    .arg(alpha)
                                    .arg(m, 8, 16)
                                    .arg(x)
                                    .arg(y)));
                    }
            }
        }
    }

    void TagStripsAreOpaqueAndTellThePlayersApart() {
        for (qreal ratio : {1.0, 2.0}) {
            const QImage first = ImageOf(101, ratio), second = ImageOf(102, ratio);
            for (const QImage& tag : {first, second})
                for (int y = 0; y < tag.height(); ++y)
                    for (int x = 0; x < tag.width(); ++x)
                        QCOMPARE(qAlpha(tag.pixel(x, y)), 255);
            QVERIFY(MaxDifference(first, second) > 64);
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
