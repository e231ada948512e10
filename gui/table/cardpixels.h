// Cards on whole device pixels. A card picture through the card mask, and a
// painter on the table's back buffer in the buffer's own device pixels, in
// which every place is measured by DevicePixels: what is drawn at a place
// and what later erases it are then the same pixels at any ratio, and at a
// fractional one (1.25, 1.5) nothing of a card's edge stays on the green.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>

// A card picture combined with the card mask by logical AND, at `ratio`: a
// layer that holds the card where the mask is opaque and nothing where it is
// clear. Null when either picture is.
QImage MaskedCard(const QPixmap& card, const QPixmap& mask, qreal ratio);

// The logical rectangle of a card whose top left corner is at `at`.
QRect CardRect(const QPoint& at);

// Paints on `buffer` in its device pixels while it lives; one at a time, as
// the buffer counts in device pixels meanwhile.
class BufferPixels {
  public:
    explicit BufferPixels(QImage& buffer);
    ~BufferPixels();
    BufferPixels(const BufferPixels&) = delete;
    BufferPixels& operator=(const BufferPixels&) = delete;

    // The buffer's own ratio of device to logical pixels.
    qreal Ratio() const { return ratio_; }
    // The device pixels of a logical place.
    QRect Pixels(const QRect& logical) const;
    QPainter& Painter() { return painter_; }
    void Fill(const QRect& logical, const QColor& colour);
    // A picture (drawn for this ratio) over the pixels of `logical`: as it
    // is, or, where the place is a pixel wider or narrower than the picture
    // at a fractional ratio, smoothly fitted to it.
    void Draw(const QRect& logical, const QImage& image);

  private:
    QImage& buffer_;
    const qreal ratio_;
    QPainter painter_;
};

// What the highlight inverts, by exclusive-or, on the pile whose first card
// lies at `first` and top card at `top`, in device pixels from the first
// card's top to the top card's bottom: the mask's upper half at the top, its
// lower half at the bottom and white between. So it spares the table outside
// the rounded corners of the first and the top card and their smooth edge,
// which would turn a garish colour. Null without a mask.
QImage PileOutline(const BufferPixels& pixels, const QPixmap& mask, const QPoint& first,
                   const QPoint& top);
