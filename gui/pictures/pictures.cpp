#include "pictures.h"

#include <QHash>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <memory>

#include "artwork.h"

// The resources live in this static library; naming them here makes the
// linker keep them and registers them before the first look-up.
static void RegisterCardResources() {
    Q_INIT_RESOURCE(card_pictures);
}

namespace pictures {

namespace {

// Ratios are cached to two decimals; the screen's ratio is never finer.
int RatioKey(qreal ratio) {
    return qRound(ratio * 100);
}

QSvgRenderer& Deck() {
    static const std::unique_ptr<QSvgRenderer> deck =
        std::make_unique<QSvgRenderer>(QStringLiteral(":/cards/deck.svgz"));
    return *deck;
}

QPixmap Make(int number, int ratioKey) {
    if (ratioKey == 100 || ratioKey == 200) {
        QPixmap pixmap(QStringLiteral(":/cards/%1x/%2.png").arg(ratioKey / 100).arg(number));
        pixmap.setDevicePixelRatio(ratioKey / 100);
        return pixmap;
    }
    // Any other ratio (1.25, 1.5, 3...) is drawn afresh at that density.
    return QPixmap::fromImage(art::Render(number, ratioKey / 100.0, Deck()));
}

}  // namespace

QPixmap Picture(int number, qreal devicePixelRatio) {
    static bool registered = (RegisterCardResources(), true);
    Q_UNUSED(registered);
    if (!art::IsPicture(number)) return {};

    // Below 1 the 1x pictures serve (the painter shrinks them); a ratio that
    // is no number counts as 1; above 8 the size of a drawn picture stays bounded.
    qreal ratio = std::isfinite(devicePixelRatio) ? devicePixelRatio : 1.0;
    ratio = std::clamp(ratio, 1.0, 8.0);
    const int ratioKey = RatioKey(ratio);

    // One GUI thread draws; the cache is not shared between threads.
    static QHash<QPair<int, int>, QPixmap> cache;
    const QPair<int, int> key(number, ratioKey);
    auto found = cache.constFind(key);
    if (found != cache.constEnd()) return *found;
    QPixmap pixmap = Make(number, ratioKey);
    cache.insert(key, pixmap);
    return pixmap;
}

}  // namespace pictures
