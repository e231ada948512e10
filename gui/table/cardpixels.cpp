#include "table/cardpixels.h"

#include "table/tablelayout.h"

QImage MaskedCard(const QPixmap& card, const QPixmap& mask, qreal ratio) {
    if (card.isNull() || mask.isNull()) return {};
    QImage layer(qRound(kCardWidth * ratio), qRound(kCardHeight * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, card);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawPixmap(0, 0, mask);
    return layer;
}

QRect CardRect(const QPoint& at) {
    return {at, QSize(kCardWidth, kCardHeight)};
}

BufferPixels::BufferPixels(QImage& buffer) : buffer_(buffer), ratio_(buffer.devicePixelRatio()) {
    buffer_.setDevicePixelRatio(1.0);
    painter_.begin(&buffer_);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
}

BufferPixels::~BufferPixels() {
    painter_.end();
    buffer_.setDevicePixelRatio(ratio_);
}

QRect BufferPixels::Pixels(const QRect& logical) const {
    return DevicePixels(logical, ratio_);
}

void BufferPixels::Fill(const QRect& logical, const QColor& colour) {
    painter_.fillRect(Pixels(logical), colour);
}

void BufferPixels::Draw(const QRect& logical, const QImage& image) {
    // The source in the picture's own pixels: drawn unscaled where the sizes agree.
    painter_.drawImage(Pixels(logical), image, image.rect());
}

QImage PileOutline(const BufferPixels& pixels, const QPixmap& maskPicture, const QPoint& first,
                   const QPoint& top) {
    if (maskPicture.isNull()) return {};
    const QImage mask = maskPicture.toImage();
    const QRect upper = pixels.Pixels(CardRect(first));
    const QRect lower = pixels.Pixels(CardRect(top));
    const QRect pile = upper | lower;
    QImage outline(pile.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&outline);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(outline.rect(), Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPoint origin = pile.topLeft();
    painter.setClipRect(QRect(upper.topLeft() - origin, QSize(upper.width(), upper.height() / 2)));
    painter.drawImage(upper.translated(-origin), mask, mask.rect());
    painter.setClipRect(lower.translated(-origin).adjusted(0, lower.height() / 2, 0, 0));
    painter.drawImage(lower.translated(-origin), mask, mask.rect());
    return outline;
}
