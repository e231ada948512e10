#include "table/notedraw.h"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace {

const QColor kPlateColour(0, 88, 0);
const QColor kLetterColour(255, 250, 220);

// Where a line of a note may break, best first: after a sentence, after a
// comma or colon, before a joining word. Never inside a card's name ("the
// king of clubs"), whose words are joined by "of" and a rank, nor inside a
// list of cards.
const QStringList& BreakClasses(int which) {
    static const QList<QStringList> classes = {
        {QStringLiteral(".  "), QStringLiteral(". ")},
        {QStringLiteral(", "), QStringLiteral(": ")},
        {QStringLiteral(" with "), QStringLiteral(" and "), QStringLiteral(" then "),
         QStringLiteral(" on "), QStringLiteral(" for ")},
    };
    return classes[which];
}

// A comma or "and" that joins the cards of one list ("the 2 of hearts, the
// 10 of diamonds and ...") is inside a phrase: no line breaks there.
bool InsideList(const QString& text, qsizetype at, const QString& mark) {
    const bool joins = mark == QLatin1String(", ") || mark == QLatin1String(" and ");
    return joins && text.mid(at + mark.size()).startsWith(QLatin1String("the "));
}

}  // namespace

QString FitLines(const QString& text, const QFont& font, int width) {
    const QFontMetrics metrics(font);
    const auto fits = [&](const QString& line) { return metrics.horizontalAdvance(line) <= width; };
    const QStringList given = text.split(QLatin1Char('\n'));
    if (std::all_of(given.begin(), given.end(), fits)) return text;
    if (given.size() > 1) return {};
    for (int which = 0; which < 3; ++which) {
        QString best;
        int bestWidest = width + 1;
        for (const QString& mark : BreakClasses(which)) {
            for (qsizetype at = text.indexOf(mark); at >= 0; at = text.indexOf(mark, at + 1)) {
                if (InsideList(text, at, mark)) continue;
                // A mark that ends in a blank breaks after its punctuation;
                // a joining word goes to the second line.
                const bool after = !mark.front().isSpace();
                const qsizetype cut = after ? at + mark.trimmed().size() : at;
                const QString first = text.left(cut).trimmed();
                const QString second = text.mid(cut).trimmed();
                const int widest =
                    std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
                if (widest < bestWidest) {
                    bestWidest = widest;
                    best = first + QLatin1Char('\n') + second;
                }
            }
        }
        if (bestWidest <= width) return best;
    }
    return {};
}

// A line too long for the band is set a little smaller, then broken between
// two phrases.
void DrawNote(QPainter& painter, const QRect& band, const QString& text) {
    const QRect room = band.adjusted(10, 3, -10, -3);
    QFont font = painter.font();
    font.setBold(true);
    QString lines;
    int flags = Qt::AlignCenter;
    const int sizes[] = {13, 12, kNoteSmallest};
    for (int twoLines = 0; twoLines <= 1 && lines.isEmpty(); ++twoLines)
        for (int size : sizes) {
            font.setPixelSize(size);
            const QString fitted = FitLines(text, font, room.width());
            if (fitted.isEmpty() || (!twoLines && fitted != text)) continue;
            if (QFontMetrics(font).boundingRect(room, flags, fitted).height() > room.height())
                continue;
            lines = fitted;
            break;
        }
    if (lines.isEmpty()) {
        // More than two lines' worth: wrapped at the smallest size.
        font.setPixelSize(kNoteSmallest);
        lines = text;
        flags |= Qt::TextWordWrap;
    }
    painter.setFont(font);
    const QRect inner = QFontMetrics(font).boundingRect(room, flags, lines);
    const QRect plate = inner.adjusted(-10, -3, 10, 3) & band;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPlateColour);
    painter.drawRoundedRect(plate, 6, 6);
    painter.setPen(kLetterColour);
    painter.drawText(room, flags, lines);
}

void DrawKeyPlate(QPainter& painter, const QRect& plate, char key) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(plate.height() - 2);
    painter.setFont(font);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPlateColour);
    painter.drawRoundedRect(plate, 3, 3);
    painter.setPen(kLetterColour);
    painter.drawText(plate, Qt::AlignCenter, QString(QChar::fromLatin1(key)));
    painter.restore();
}
