// The table view: the mirror of what is drawn on the table (pile depths,
// highlights, the cards of each pile and hand slot, capture counts), the back
// buffer that all card drawing goes into, the card pictures, and the drawing
// of the reply items. The reply handlers (replies.cpp) call these operations.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>

class QPainter;

#include "globals.h"

// Areas: 0 the table, 1 and 2 the hands, 3 and 4 the capture piles, 5 the single spot.
constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;
constexpr int kBackBufferWidth = 800;
constexpr int kBackBufferHeight = 600;
constexpr QRgb kTableColour = qRgb(0, 128, 0);

// DisplayCard modes.
enum DisplayMode { kShow = 1, kErase = 2, kToggleHighlight = 3 };

struct TableMirror {
    // [area 0..5][column 1..9]: cards shown in a table pile; 1 if a hand slot shows a card.
    Checked<Checked<int, 1, kNumColumns>, 0, 5> pileDepth;
    // [area 0..5][column 1..9]: 1 while that pile or hand slot is highlighted.
    Checked<Checked<int, 1, kNumColumns>, 0, 5> highlight;
    // [column 1..9][depth 1..9]: picture numbers of the cards in each table pile.
    Checked<Checked<int, 1, 9>, 1, kNumColumns> pileCards;
    // [player 1..2][slot 1..4]: picture number shown in each hand slot, 0 for none.
    Checked<Checked<int, 1, 4>, 1, 2> handCards;
    // [area 3..4]: cards drawn into each capture pile since the table was cleared.
    Checked<int, 3, 4> captureCount;
};

extern TableMirror table;

// Picture number of a card: rank value plus 0 clubs, 13 diamonds, 26 hearts,
// 39 spades, 52 backs; 0 for no card.
int CardPicture(char rank, char suit);
// Top left corner of a card place.
QPoint CardPosition(int area, int column, int depth);

// Loads the card pictures (1..65, 101, 102, 100) once; they are held until the program ends.
void LoadPictures();
// A loaded picture; null when the picture set is not part of this build.
const QPixmap& Picture(int number);

// The off-screen picture of the table; the window's paint copies it.
QImage& BackBuffer();
// Empties the table mirror and makes a fresh, all-green back buffer.
void ClearTable();
// Shows, erases or highlights a card; ends with ShowBackBuffer.
void DisplayCard(int area, int column, int depth, int picture, int mode);
// Copies the back buffer onto the window, at once.
void ShowBackBuffer();
// The window's paint: the back buffer, and over it the card in flight, if any.
void PaintTable(QPainter& painter);

// Drawing of the reply items "T", "A", "U" and "G".
// The tag above a table column: the strip of the player to move (101 for
// player 1, 102 otherwise) with the pile's rank letter on silver.
void DrawTag(int column, char letter);
// Four frames of a card's flight, each drawn on the window only and shown
// for a quarter delay unit; the back buffer is never touched.
void AnimateCard(int fromArea, int toArea, int picture, int fromColumn, int fromDepth, int toColumn,
                 int toDepth);
// The card the window draws over the back buffer during a flight.
struct FlightFrame {
    bool active = false;
    int picture = 0;
    QPoint at;
};
FlightFrame CardInFlight();
void ShowRemainingCards(char suit, int mask);
void ShowScores(int player, const ScoreRecord& values);

// The slide of the remaining-cards panel: the button raises it to 450 or
// lowers it from there; a click on the panel raises it by 100. A move that
// would take its top above the window sends it back to its hidden place.
void RemainingCardsButtonClick();
void RemainingCardsClick();
