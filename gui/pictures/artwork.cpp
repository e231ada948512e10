#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <cmath>

namespace pictures::art {

namespace {

// Every face of the deck has the same outline, so one face gives the
// outline of all cards: the mask is made from it and the backs are cut to it.
constexpr int kOutlineFace = 1;

QImage NewImage(QSize logical, qreal ratio) {
    QImage image(qRound(logical.width() * ratio), qRound(logical.height() * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A painter on `image` in logical coordinates; the image's own ratio is set
// only after drawing, so rounding of odd ratios never leaves an empty edge.
void BeginLogical(QPainter& painter, QImage& image, QSize logical) {
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(qreal(image.width()) / logical.width(), qreal(image.height()) / logical.height());
}

void DrawFace(QPainter& painter, int number, QSvgRenderer& deck) {
    deck.render(&painter, FaceElementId(number), QRectF(0, 0, kCardWidth, kCardHeight));
}

// The deck's card at this ratio, whose alpha is the outline shared by every
// card picture.
QImage Outline(qreal ratio, QSvgRenderer& deck) {
    const QSize logical(kCardWidth, kCardHeight);
    QImage outline = NewImage(logical, ratio);
    QPainter painter;
    BeginLogical(painter, outline, logical);
    DrawFace(painter, kOutlineFace, deck);
    painter.end();
    return outline;
}

// Opaque wherever the cards leave a mark and fully transparent elsewhere,
// so that the DestinationIn composition with it never eats into a card's own
// smooth edge. Opaque white where the cards are solid, opaque black on their
// smooth edge: inverting by exclusive-or through the mask (the highlight)
// changes only the solid card, never the half-covered edge pixels, where the
// table shows through and would turn a garish colour.
void MakeMask(QImage& image, const QImage& outline) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* shape = reinterpret_cast<const QRgb*>(outline.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(shape[x]);
            line[x] = alpha == 255 ? 0xffffffffu : alpha > 0 ? 0xff000000u : 0u;
        }
    }
}

// A soft strip with a thin border, fully opaque, for the build and block
// labels above a table pile: pale gold for player 1, pale blue otherwise.
void DrawTag(QPainter& painter, int number) {
    const bool first = number == kTagPlayer1;
    const QColor light = first ? QColor(0xfc, 0xf3, 0xcf) : QColor(0xe4, 0xf0, 0xfc);
    const QColor dark = first ? QColor(0xe8, 0xd0, 0x7a) : QColor(0xa9, 0xc9, 0xec);
    const QColor border = first ? QColor(0x9a, 0x76, 0x1c) : QColor(0x3f, 0x6e, 0xa3);

    const QRectF strip(0, 0, kCardWidth, kTagHeight);
    QLinearGradient shade(0, 0, 0, kTagHeight);
    shade.setColorAt(0, light);
    shade.setColorAt(1, dark);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(strip, border);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(strip.adjusted(1, 1, -1, -1), shade);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
    painter.drawLine(QPointF(1.5, 1.5), QPointF(kCardWidth - 1.5, 1.5));
}

}  // namespace

const QList<int>& AllNumbers() {
    static const QList<int> numbers = [] {
        QList<int> all;
        for (int n = kFirstFace; n <= kLastBack; ++n)
            all.append(n);
        all << kMask << kTagPlayer1 << kTagPlayer2;
        return all;
    }();
    return numbers;
}

bool IsPicture(int number) {
    return (number >= kFirstFace && number <= kLastBack) || number == kMask ||
           number == kTagPlayer1 || number == kTagPlayer2;
}

QSize LogicalSize(int number) {
    if (!IsPicture(number)) return {};
    if (number == kTagPlayer1 || number == kTagPlayer2) return {kCardWidth, kTagHeight};
    return {kCardWidth, kCardHeight};
}

QString FaceElementId(int number) {
    if (number < kFirstFace || number > kLastFace) return {};
    static const char* const kSuits[] = {"club", "diamond", "heart", "spade"};
    static const char* const kCourts[] = {"jack", "queen", "king"};
    const int rank = (number - 1) % 13 + 1;
    const char* suit = kSuits[(number - 1) / 13];
    if (rank > 10) return QStringLiteral("%1_%2").arg(kCourts[rank - 11], suit);
    return QStringLiteral("%1_%2").arg(rank).arg(suit);
}

QImage Render(int number, qreal ratio, QSvgRenderer& deck) {
    if (!IsPicture(number) || !(ratio > 0) || !std::isfinite(ratio)) return {};
    const QSize logical = LogicalSize(number);
    QImage image = NewImage(logical, ratio);
    if (number == kMask) {
        MakeMask(image, Outline(ratio, deck));
    } else {
        QPainter painter;
        BeginLogical(painter, image, logical);
        if (number <= kLastFace) {
            DrawFace(painter, number, deck);
        } else if (number <= kLastBack) {
            // The back fills the whole card; the faces' outline cuts its
            // edge, smooth pixels included, to theirs.
            DrawBack(painter, number - kFirstBack);
            painter.resetTransform();
            painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            painter.drawImage(0, 0, Outline(ratio, deck));
        } else {
            DrawTag(painter, number);
        }
        painter.end();
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace pictures::art
