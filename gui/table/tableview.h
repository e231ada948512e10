// Folder table/: the table and its words. Where every place of the table is
// (tablelayout), what is drawn there and in the labels that show the game
// (tableview), the names of cards (cardtext) and the sentence for a move
// (movetext). It draws what it is told and sends nothing to the library; it
// uses core/ and the card pictures.
//
// The table view: the mirror of what is drawn on the table (pile depths,
// highlights, the cards of each pile and hand slot, capture counts), the back
// buffer that all card drawing goes into, the card pictures, the drawing of
// the reply items, and the texts of the window's labels that show the game:
// score sheet, name panels, remaining-cards rows and the status line; and what
// the window's paint draws over the back buffer: the marks and words of the
// last move and the note of an empty table. The
// window hands the view its widgets once; the reply handlers, move entry and
// the game operations draw and show through the functions here.
#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class QAction;
class QLabel;
class QPainter;
class QWidget;

#include "core/mirror.h"
#include "table/cardtext.h"
#include "table/tablelayout.h"

// Areas: 0 the table, 1 and 2 the hands, 3 and 4 the capture piles, 5 the single spot.
constexpr int kBackBufferWidth = 800;
constexpr int kBackBufferHeight = 600;
constexpr QRgb kTableColour = qRgb(0, 128, 0);
constexpr int kCapturedMost = 52;  // a capture pile never holds more than the deck

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
    // [column 1..9]: 1 while a tag is drawn above that table pile.
    Checked<int, 1, kNumColumns> tagShown;
    // [column 1..9]: the letter of that tag, 0 for none.
    Checked<char, 1, kNumColumns> tagLetter;
    // [area 3..4][card 1..52]: picture numbers of the cards shown in each
    // capture pile, first card first; a pile past its room is drawn afresh.
    Checked<Checked<int, 1, kCapturedMost>, 3, 4> capturedCards;
};

extern TableMirror table;

// The window's widgets that the view draws and writes into.
struct TableWidgets {
    QWidget* surface = nullptr;  // shows the back buffer
    // [player 1..2][row 1..7]: aces, 2 of spades, 10 of diamonds, sweeps, spades, cards, points.
    Checked<Checked<QLabel*, 1, 7>, 1, 2> scores;
    Checked<QLabel*, 1, 2> namePanels;
    // [row 1..4] in the order of kRemainingSuits.
    Checked<QLabel*, 1, kRemainingRows> remainingRows;
    QWidget* remainingPanel = nullptr;
    QLabel* status = nullptr;  // the status line of move entry
    // The game's mirror: the names, whose turn it is, who the computer moves.
    const GameMirror* mirror = nullptr;
    // The panels the score sheet is drawn with (its columns, row names and
    // the name panels): the accessible table tells the sheet as one table.
    QList<QWidget*> scorePanels;
    // Hint, as button and menu: enabled while a hand that a person plays shows a card.
    QWidget* hint = nullptr;
    QAction* hintAction = nullptr;
};
// The window hands over its widgets when it is built, before anything is
// drawn, and takes them back (an empty set) when it goes.
void AttachWidgets(const TableWidgets& widgets);

// The mirror of the game the attached window plays; a fresh one while none is.
const GameMirror& ShownMirror();

// The widget that shows the table; null while no window is attached.
QWidget* SurfaceWidget();
// The widgets the window attached (none while no window is attached).
const TableWidgets& AttachedWidgets();
// The score sheet's row `row` (1..7) in words: "aces" ... "points".
QString ScoreRowName(int row);
// A point of the table in global (screen) pixels.
QPoint TableToGlobal(const QPoint& at);
// The most cards in any table pile now.
int DeepestPile();

// Top left corner of a card place (capture piles: the next card's place).
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

// The marks of the last move: an outline around every place its cards left
// or came to (table piles with their tags, capture piles) and its words on
// the green below the piles. The window's paint draws them over the back
// buffer, so they never change the table's picture; they stay until the
// player acts or the table is cleared.
// Starts noting the places that cards come to and go from; the marks shown stay.
void BeginMoveMarks();
// Stops noting and shows the outlines of the places noted, and `words`.
void ShowMoveMarks(const QString& words);
// Takes the marks and words away (the window shows it at once when there were any).
void ClearMoveMarks();
// What is shown: the outlined places (each the place's own extent) and the words.
const std::vector<QRect>& MoveMarks();
QString MoveWords();
constexpr QRgb kMarkColour = qRgb(255, 215, 0);
constexpr int kMarkGap = 1;    // between a place's edge and its outline
constexpr int kMarkWidth = 3;  // of the outline

// The table's note: a line or two on the green that tells the player what to
// do now (how to begin, how to move, that the game stopped). It goes on the
// first row while no table pile holds a card, else on the band of the move's
// words, below them. Every note is set here, and TableNote is what shows ("" for none).
void SetTableNote(const QString& text);
QString TableNote();
// The empty table says how to begin; the first card shown takes it away.
extern const char kStartNote[];
bool StartNoteShown();

// Whose turn it is: that player's name panel is marked (bold on a lighter
// panel), shown at once; 0 marks neither.
void ShowTurn(int player);
int TurnShown();

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

// The keys shown above the table piles: each pile that holds a card shows
// the key that chooses it (PileKey), at PileKeyRect; drawn by the window's paint.
struct ShownKey {
    QRect at;
    char key = 0;
};
std::vector<ShownKey> ShownPileKeys();
void ShowRemainingCards(char suit, int mask);
void ShowScores(int player, const ScoreRecord& values);

// The name panels: the players' plain names (a game starts), or each name
// with the game total at the end of a round, shown at once.
void ShowPlayerNames();
void ShowRoundTotals(int total1, int total2);
// The status line of move entry (a debug control): kept, and written on its
// label only while the debug controls are shown.
void ShowStatus(const QString& text);
QString StatusText();

// The accessible table registers here to hear of every change of what the
// table shows (cards, highlights, tags, words, notes, focus); the drawing
// calls it after each.
void SetTableWatcher(void (*watcher)());
// Tells the watcher of a change made elsewhere (the keyboard focus).
void NotifyTableWatcher();

// The remaining-cards panel (its slide: remainingpanel.h).
QWidget* RemainingPanel();
