// The card pictures of the program, reached by their number:
//   1-52   card faces (clubs 1-13, diamonds 14-26, hearts 27-39, spades 40-52;
//          ace, 2..10, jack, queen, king within a suit)
//   53-65  card backs, one design per back rank (53 ace, 54-61 "2".."9",
//          62 "T", 63 "J", 64 "Q", 65 "K")
//   100    card mask (opaque where the card is, transparent at the rounded corners)
//   101    tag strip while player 1 is to move, 102 tag strip otherwise
// Cards are 71 x 96 logical pixels, tag strips 71 x 14.
//
// The mask holds three pixel values: opaque white (0xffffffff) where the
// cards are solid, opaque black (0xff000000) on their smooth rounded edge,
// and fully transparent (0x00000000) outside it. Combining a card with it by
// QPainter::CompositionMode_DestinationIn (the logical AND of the card and
// the mask's alpha) therefore keeps the card unchanged and clears the
// corners, so the layer can then be drawn over the green table (SourceOver);
// the faces and backs already carry the same clear corners themselves.
// Drawn through the mask by RasterOp_SourceXorDestination, it inverts the
// solid card alone, and twice restores every pixel.
#pragma once

#include <QPixmap>

namespace pictures {

// The picture drawn for the given device pixel ratio (crisp at 2), with its
// devicePixelRatio set, so that it always covers its logical size.
// Rendered once per number and ratio and cached. A null pixmap for an unknown number.
QPixmap Picture(int number, qreal devicePixelRatio = 1.0);

}  // namespace pictures
