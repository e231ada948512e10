// The thirteen card backs. Each is a white card with the faces' frame, a
// coloured panel with a plain band, a thin inner frame line and a pattern
// inside it; colour and pattern both differ from back to back.
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "artwork.h"

namespace pictures::art {

namespace {

constexpr qreal kPi = std::numbers::pi;

// Panel (coloured area) and the field of the pattern inside the inner frame.
const QRectF kPanel(4, 4, 63, 88);
const QRectF kFrameLine(6.5, 6.5, 58, 83);
const QRectF kField(7, 7, 57, 82);
const QPointF kCentre(35.5, 48);

struct Design {
    QColor base;    // panel colour
    QColor accent;  // frame line and main pattern colour
    QColor second;  // second pattern colour
    void (*pattern)(QPainter&, const Design&);
};

QPen Pen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPainterPath Star(QPointF centre, qreal outer, qreal inner, int points, qreal turn = 0) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal angle = turn - kPi / 2 + i * kPi / points;
        const qreal radius = i % 2 == 0 ? outer : inner;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPainterPath Diamond(QPointF centre, qreal halfWidth, qreal halfHeight) {
    QPainterPath path;
    path.moveTo(centre.x(), centre.y() - halfHeight);
    path.lineTo(centre.x() + halfWidth, centre.y());
    path.lineTo(centre.x(), centre.y() + halfHeight);
    path.lineTo(centre.x() - halfWidth, centre.y());
    path.closeSubpath();
    return path;
}

// Two families of diagonal lines with a dot where they cross.
void Lattice(QPainter& p, const Design& d) {
    constexpr qreal step = 7;
    p.setPen(Pen(d.accent, 0.8));
    for (qreal k = -kField.height(); k < kField.width() + kField.height(); k += step) {
        const qreal x = kField.left() + k;
        p.drawLine(QPointF(x, kField.top()), QPointF(x + kField.height(), kField.bottom()));
        p.drawLine(QPointF(x, kField.bottom()), QPointF(x + kField.height(), kField.top()));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(d.second);
    for (qreal y = kField.top(); y <= kField.bottom(); y += step / 2)
        for (qreal x = kField.left() + (int((y - kField.top()) / (step / 2)) % 2) * step / 2;
             x <= kField.right(); x += step)
            p.drawEllipse(QPointF(x, y), 1.1, 1.1);
}

// Rows of waves in two alternating tints.
void Waves(QPainter& p, const Design& d) {
    constexpr qreal step = 4.5, amplitude = 1.6, length = 11;
    int row = 0;
    for (qreal y = kField.top() + 1; y < kField.bottom() + step; y += step, ++row) {
        QPainterPath wave;
        wave.moveTo(kField.left() - length, y);
        for (qreal x = kField.left() - length; x < kField.right() + length; x += 0.5)
            wave.lineTo(x, y + amplitude * std::sin((x + row * 2.5) * 2 * kPi / length));
        p.setPen(Pen(row % 2 == 0 ? d.accent : d.second, 1.1));
        p.drawPath(wave);
    }
}

// Argyle: rows of diamonds in two tints crossed by fine diagonals
// through the diamonds' centres.
void Argyle(QPainter& p, const Design& d) {
    constexpr qreal w = 57.0 / 4, h = 82.0 / 4;
    p.setPen(Qt::NoPen);
    for (int j = -1; j <= 8; ++j)
        for (int i = -1; i <= 4; ++i) {
            p.setBrush(j % 2 == 0 ? d.second : d.base);
            const QPointF centre(kField.left() + i * w + (j % 2 != 0 ? w / 2 : 0),
                                 kField.top() + j * h / 2);
            p.drawPath(Diamond(centre, w / 2, h / 2));
        }
    QColor line = d.accent;
    line.setAlpha(170);
    p.setPen(Pen(line, 0.6));
    const qreal run = kField.height() * w / h;
    for (int i = -6; i <= 10; ++i) {
        const qreal x = kField.left() + i * w;
        p.drawLine(QPointF(x, kField.top()), QPointF(x + run, kField.bottom()));
        p.drawLine(QPointF(x, kField.top()), QPointF(x - run, kField.bottom()));
    }
}

// A checkerboard with a small cross in each light square, centred on the
// field so that the half squares at top and bottom match.
void Checks(QPainter& p, const Design& d) {
    constexpr qreal cell = 57.0 / 8;
    constexpr int rows = 12;
    const qreal top = kField.center().y() - rows * cell / 2;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < 8; ++i) {
            const QRectF square(kField.left() + i * cell, top + j * cell, cell, cell);
            if ((i + j) % 2 == 0) {
                p.fillRect(square, d.accent);
                p.setPen(Pen(d.base, 0.7));
                const QPointF c = square.center();
                p.drawLine(c - QPointF(1.6, 0), c + QPointF(1.6, 0));
                p.drawLine(c - QPointF(0, 1.6), c + QPointF(0, 1.6));
            } else {
                p.fillRect(square, d.second);
            }
        }
}

// Interlocking rings in staggered rows.
void Rings(QPainter& p, const Design& d) {
    constexpr qreal step = 8.5, radius = 4.6;
    p.setBrush(Qt::NoBrush);
    int row = 0;
    for (qreal y = kField.top(); y < kField.bottom() + step; y += step * 0.866, ++row)
        for (qreal x = kField.left() + (row % 2) * step / 2; x < kField.right() + step; x += step) {
            p.setPen(Pen(d.accent, 1.1));
            p.drawEllipse(QPointF(x, y), radius, radius);
            p.setPen(Pen(d.second, 0.6));
            p.drawEllipse(QPointF(x, y), radius - 2, radius - 2);
        }
}

// Fine cross-hatching behind an oval medallion with a rosette.
void Medallion(QPainter& p, const Design& d) {
    p.setPen(Pen(d.second, 0.5));
    for (qreal x = kField.left() + 1.5; x < kField.right(); x += 3)
        p.drawLine(QPointF(x, kField.top()), QPointF(x, kField.bottom()));
    for (qreal y = kField.top() + 1.5; y < kField.bottom(); y += 3)
        p.drawLine(QPointF(kField.left(), y), QPointF(kField.right(), y));

    const QRectF oval(kCentre.x() - 15, kCentre.y() - 21, 30, 42);
    p.setPen(Pen(d.accent, 1.4));
    p.setBrush(d.base);
    p.drawEllipse(oval.adjusted(-2, -2, 2, 2));
    p.setPen(Pen(d.accent, 0.7));
    p.drawEllipse(oval.adjusted(1, 1, -1, -1));
    p.setPen(Qt::NoPen);
    p.setBrush(d.accent);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(kCentre);
        p.rotate(i * 45);
        p.drawEllipse(QRectF(-2.2, -12.5, 4.4, 10));
        p.restore();
    }
    p.setBrush(d.base);
    p.drawEllipse(kCentre, 3.2, 3.2);
    p.setBrush(d.accent);
    p.drawEllipse(kCentre, 1.6, 1.6);
    for (const QPointF corner :
         {kField.topLeft(), kField.topRight(), kField.bottomLeft(), kField.bottomRight()})
        p.drawPath(Star(corner + (kCentre - corner) * 0.12, 3.2, 1.2, 4));
}

// Overlapping fish scales, drawn from the bottom row up so that each row
// hides the tops of the row below; each scale has a light crescent.
void Scales(QPainter& p, const Design& d) {
    constexpr qreal radius = 5;
    const int rows = int(kField.height() / radius) + 2;
    for (int row = rows; row >= 0; --row) {
        const qreal y = kField.top() + (row - 1) * radius;
        for (qreal x = kField.left() + (row % 2) * radius - radius; x < kField.right() + radius;
             x += 2 * radius) {
            p.setPen(Pen(d.accent, 0.8));
            p.setBrush(d.second);
            p.drawEllipse(QPointF(x, y), radius, radius);
            p.setPen(Qt::NoPen);
            p.setBrush(d.base);
            p.drawEllipse(QPointF(x, y - 1.1), radius - 1.5, radius - 1.5);
        }
    }
}

// Staggered polka dots, two sizes.
void Dots(QPainter& p, const Design& d) {
    constexpr qreal step = 7.5;
    p.setPen(Qt::NoPen);
    int row = 0;
    for (qreal y = kField.top() + 2; y < kField.bottom() + step; y += step / 2, ++row)
        for (qreal x = kField.left() + 2 + (row % 2) * step / 2; x < kField.right() + step;
             x += step) {
            p.setBrush(row % 2 == 0 ? d.accent : d.second);
            p.drawEllipse(QPointF(x, y), row % 2 == 0 ? 2.1 : 1.2, row % 2 == 0 ? 2.1 : 1.2);
        }
}

// Zigzag rows, a bold line with a thin one beside it.
void Chevrons(QPainter& p, const Design& d) {
    constexpr qreal step = 7, height = 3.5, half = 4;
    for (qreal y = kField.top() - height; y < kField.bottom() + step; y += step) {
        QPolygonF zig;
        for (int i = 0; kField.left() - half + i * half < kField.right() + half; ++i)
            zig << QPointF(kField.left() - half + i * half, y + (i % 2) * height);
        p.setPen(Pen(d.accent, 1.5));
        p.drawPolyline(zig);
        p.setPen(Pen(d.second, 0.6));
        p.drawPolyline(zig.translated(0, 2.8));
    }
}

// Rays from the centre in two tints, with a ringed sun.
void Sunburst(QPainter& p, const Design& d) {
    constexpr int rays = 32;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < rays; i += 2) {
        const qreal a1 = 2 * kPi * i / rays, a2 = 2 * kPi * (i + 1) / rays;
        QPolygonF ray;
        ray << kCentre << kCentre + QPointF(std::cos(a1), std::sin(a1)) * 80
            << kCentre + QPointF(std::cos(a2), std::sin(a2)) * 80;
        p.setBrush(d.second);
        p.drawPolygon(ray);
    }
    QRadialGradient glow(kCentre, 12);
    glow.setColorAt(0, d.accent);
    glow.setColorAt(1, d.base);
    p.setBrush(glow);
    p.setPen(Pen(d.accent, 1));
    p.drawEllipse(kCentre, 9, 9);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(kCentre, 12, 12);
}

// Small five-pointed stars in staggered rows.
void Stars(QPainter& p, const Design& d) {
    constexpr qreal step = 9.5;
    p.setPen(Qt::NoPen);
    int row = 0;
    for (qreal y = kField.top() + 3; y < kField.bottom() + step; y += step * 0.7, ++row)
        for (qreal x = kField.left() + 3 + (row % 2) * step / 2; x < kField.right() + step;
             x += step) {
            p.setBrush(row % 2 == 0 ? d.accent : d.second);
            p.drawPath(Star(QPointF(x, y), row % 2 == 0 ? 3.4 : 2.2, row % 2 == 0 ? 1.4 : 0.9, 5));
        }
}

// Quatrefoil flowers on a light ground, joined by fine diagonals.
void Quatrefoils(QPainter& p, const Design& d) {
    constexpr qreal step = 9.5;
    p.setPen(Pen(d.second, 0.6));
    for (qreal k = -kField.height(); k < kField.width() + kField.height(); k += step) {
        const qreal x = kField.left() + k + 1.5;
        p.drawLine(QPointF(x, kField.top()), QPointF(x + kField.height(), kField.bottom()));
        p.drawLine(QPointF(x, kField.bottom()), QPointF(x + kField.height(), kField.top()));
    }
    p.setPen(Qt::NoPen);
    int row = 0;
    for (qreal y = kField.top() + 1; y < kField.bottom() + step; y += step / 2, ++row)
        for (qreal x = kField.left() + 1.5 + (row % 2) * step / 2; x < kField.right() + step;
             x += step) {
            p.setBrush(d.accent);
            for (const QPointF leaf :
                 {QPointF(0, -1.6), QPointF(1.6, 0), QPointF(0, 1.6), QPointF(-1.6, 0)})
                p.drawEllipse(QPointF(x, y) + leaf, 1.5, 1.5);
            p.setBrush(d.base);
            p.drawEllipse(QPointF(x, y), 0.8, 0.8);
        }
}

// Broad diagonal stripes with a thin stripe of a second colour between them.
void Stripes(QPainter& p, const Design& d) {
    constexpr qreal step = 9;
    for (qreal k = -kField.height(); k < kField.width() + kField.height(); k += step) {
        const QPointF from(kField.left() + k, kField.bottom());
        const QPointF to(kField.left() + k + kField.height(), kField.top());
        p.setPen(Pen(d.accent, 2.6));
        p.drawLine(from, to);
        p.setPen(Pen(d.second, 0.8));
        p.drawLine(from + QPointF(step / 2, 0), to + QPointF(step / 2, 0));
    }
}

// In the order of the back ranks: ace, 2 to 9, ten, jack, queen, king.
const Design kDesigns[13] = {
    {QColor(0x9e, 0x12, 0x22), QColor(0xf0, 0xc8, 0x70), QColor(0xff, 0xe9, 0xb0), Lattice},
    {QColor(0x0c, 0x5e, 0x60), QColor(0xa8, 0xe6, 0xdc), QColor(0x4f, 0xb3, 0xa8), Waves},
    {QColor(0x17, 0x52, 0x28), QColor(0xf1, 0xe7, 0xc4), QColor(0x2f, 0x8a, 0x47), Argyle},
    {QColor(0x5e, 0x3a, 0x0a), QColor(0xd9, 0xa8, 0x2e), QColor(0x6e, 0x45, 0x0c), Checks},
    {QColor(0x45, 0x1a, 0x6b), QColor(0xd4, 0xb4, 0xf0), QColor(0x9a, 0x6c, 0xc8), Rings},
    {QColor(0x1c, 0x3c, 0x9e), QColor(0xf4, 0xf6, 0xff), QColor(0x5a, 0x7a, 0xd8), Medallion},
    {QColor(0x3a, 0x8c, 0xd4), QColor(0xf2, 0xf9, 0xff), QColor(0x6c, 0xb2, 0xea), Scales},
    {QColor(0x55, 0x2e, 0x14), QColor(0xf3, 0xe2, 0xb8), QColor(0xd2, 0x8a, 0x4a), Dots},
    {QColor(0x1c, 0x1c, 0x20), QColor(0xd0, 0xd4, 0xdc), QColor(0x70, 0x76, 0x82), Chevrons},
    {QColor(0xc4, 0x52, 0x16), QColor(0xff, 0xe0, 0x8a), QColor(0xe2, 0x7a, 0x2a), Sunburst},
    {QColor(0x9c, 0x14, 0x58), QColor(0xff, 0xd6, 0xea), QColor(0xf2, 0x8c, 0xbe), Stars},
    {QColor(0xf6, 0xee, 0xda), QColor(0xb0, 0x1e, 0x32), QColor(0xd8, 0xb8, 0x8c), Quatrefoils},
    {QColor(0x12, 0x1e, 0x3c), QColor(0xd6, 0xa8, 0x3c), QColor(0xb8, 0x28, 0x34), Stripes},
};

}  // namespace

void DrawBack(QPainter& p, int design) {
    const Design& d = kDesigns[qBound(0, design, 12)];
    p.save();
    p.setRenderHint(QPainter::Antialiasing);

    // White to the very corners, so that cut to the faces' outline the back
    // covers exactly what a face covers; then the face deck's card frame (a
    // card of 79 x 123 units with a line 1.5 wide whose middle runs 0.75
    // inside the edge, corner radius 5), scaled to the card.
    p.fillRect(QRectF(0, 0, kCardWidth, kCardHeight), Qt::white);
    p.save();
    p.scale(kCardWidth / 79.0, kCardHeight / 123.0);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(0.75, 0.75, 77.5, 121.5), 5, 5);
    p.strokePath(frame, QPen(Qt::black, 1.5));
    p.restore();

    QPainterPath panel;
    panel.addRoundedRect(kPanel, 2.5, 2.5);
    p.fillPath(panel, d.base);
    p.save();
    p.setClipRect(kField);
    d.pattern(p, d);
    p.restore();

    // A light base (the queen's) needs its frame lines in the pattern colour.
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(d.accent, 1));
    p.drawRoundedRect(kFrameLine, 1, 1);
    p.setPen(Pen(d.base.lightness() > 160 ? d.accent : d.base.darker(150), 0.8));
    p.drawPath(panel);
    p.restore();
}

}  // namespace pictures::art
