// Build-time tool: renders every card picture for device pixel ratios 1 and 2
// into <output folder>/1x/<number>.png and <output folder>/2x/<number>.png,
// which the build then compiles into the program as resources.
//   casino_make_pictures <deck.svgz> <output folder>
// Fails, and so stops the build, when the deck cannot be read or lacks a face.
#include <QDir>
#include <QSvgRenderer>
#include <cstdio>

#include "artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <deck.svgz> <output folder>\n", argv[0]);
        return 2;
    }
    const QString deckPath = QString::fromLocal8Bit(argv[1]);
    const QDir output(QString::fromLocal8Bit(argv[2]));

    QSvgRenderer deck(deckPath);
    if (!deck.isValid()) {
        std::fprintf(stderr, "cannot read the card deck %s\n", argv[1]);
        return 1;
    }
    // The renderer draws nothing, silently, for an id it does not know.
    for (int n = pictures::art::kFirstFace; n <= pictures::art::kLastFace; ++n) {
        const QString id = pictures::art::FaceElementId(n);
        if (!deck.elementExists(id)) {
            std::fprintf(stderr, "the card deck has no element \"%s\" for picture %d\n",
                         qPrintable(id), n);
            return 1;
        }
    }

    for (int ratio : {1, 2}) {
        const QString folder = QStringLiteral("%1x").arg(ratio);
        if (!output.mkpath(folder)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(output.filePath(folder)));
            return 1;
        }
        for (int n : pictures::art::AllNumbers()) {
            const QString file = output.filePath(QStringLiteral("%1/%2.png").arg(folder).arg(n));
            if (!pictures::art::Render(n, ratio, deck).save(file, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
