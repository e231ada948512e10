// The drawing behind every card picture: faces from the vector card deck,
// our own card backs, the card mask and the tag strips, at any pixel density.
// Shared by the build-time picture maker and by the library, which draws a
// picture itself when the screen's ratio is neither 1 nor 2.
#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class QPainter;
class QSvgRenderer;

namespace pictures::art {

inline constexpr int kFirstFace = 1;
inline constexpr int kLastFace = 52;
inline constexpr int kFirstBack = 53;
inline constexpr int kLastBack = 65;
inline constexpr int kMask = 100;
inline constexpr int kTagPlayer1 = 101;
inline constexpr int kTagPlayer2 = 102;

inline constexpr int kCardWidth = 71;
inline constexpr int kCardHeight = 96;
inline constexpr int kTagHeight = 14;

// Every number that names a picture, in ascending order.
const QList<int>& AllNumbers();

// True for 1-65, 100, 101 and 102.
bool IsPicture(int number);

// Size in logical pixels: 71 x 96, or 71 x 14 for the tag strips.
QSize LogicalSize(int number);

// The deck's element id of face 1-52 ("1_club", "10_diamond", "jack_heart",
// "king_spade"...); empty for any other number.
QString FaceElementId(int number);

// Draws picture `number` for a screen of the given device pixel ratio: an
// ARGB32 premultiplied image of round(size x ratio) pixels whose
// devicePixelRatio is `ratio`. Faces need the deck; a null image for an
// unknown number.
QImage Render(int number, qreal ratio, QSvgRenderer& deck);

// Draws back design 0-12 (pictures 53-65) on the card 71 x 96 in logical
// coordinates: white card with the deck's card frame, coloured panel, inner
// frame, pattern. It fills the whole rectangle; Render cuts it to the
// outline of the faces.
void DrawBack(QPainter& painter, int design);

}  // namespace pictures::art
