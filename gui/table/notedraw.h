// Words on the table: a note or a move's sentence set on a darker green
// plate inside a band of the table (and a pile's key on a small one), in one line or broken once
// between two phrases, never inside a card's name and never in letters below kNoteSmallest pixels.
#pragma once

#include <QRect>
#include <QString>

class QFont;
class QPainter;

constexpr int kNoteSmallest = 11;

// `text` in lines that fit `width` at `font`: as it is, or broken once at
// the best place between two phrases; empty when neither fits.
QString FitLines(const QString& text, const QFont& font, int width);
// Lines of text centred in `band`, light on a darker green plate with round corners.
void DrawNote(QPainter& painter, const QRect& band, const QString& text);
// A key's character on a small plate filling `plate`, in the colours of the notes.
void DrawKeyPlate(QPainter& painter, const QRect& plate, char key);
