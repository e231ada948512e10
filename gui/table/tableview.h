// Folder table/: the table and its words. Where every place of the table is
// (tablelayout), what is drawn there and in the labels that show the game
// (tableview), the names of cards (cardtext) and the sentence for a move
// (movetext). It draws what it is told and sends nothing to the library; it
// uses core/ and the card pictures.
//
// The table view (class TableView): the mirror of what is drawn on the table
// (pile depths, highlights, the cards of each pile and hand slot, capture
// counts), the back buffer that all card drawing goes into, the card
// pictures, the drawing of the reply items, and the texts of the window's
// labels that show the game: score sheet, name panels, remaining-cards rows
// and the status line (tablelabels.cpp); and what the window's paint draws
// over the back buffer: the marks and words of the last move and the note of
// an empty table. The window's game owns the one view; the window hands it
// its widgets once, and the reply handlers, move entry, the game operations
// and the accessible table are handed the view and draw, show and read
// through it.
#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class QAccessibleEvent;
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
    // The panels the score sheet is drawn with (its columns, row names and
    // the name panels): the accessible table tells the sheet as one table.
    QList<QWidget*> scorePanels;
    // Hint, as button and menu: enabled while a hand that a person plays shows a card.
    QWidget* hint = nullptr;
    QAction* hintAction = nullptr;
};

// The score sheet's row `row` (1..7) in words: "aces" ... "points".
QString ScoreRowName(int row);

// The marks of the last move are drawn in this colour, this far out.
constexpr QRgb kMarkColour = qRgb(255, 215, 0);
constexpr int kMarkGap = 1;    // between a place's edge and its outline
constexpr int kMarkWidth = 3;  // of the outline

// The empty table says how to begin; the first card shown takes it away.
extern const char kStartNote[];

// The card the window draws over the back buffer during a flight.
struct FlightFrame {
    bool active = false;
    int picture = 0;
    QPoint at;
};

// The keys shown above the table piles: each pile that holds a card shows
// the key that chooses it (PileKey), at PileKeyRect; drawn by the window's paint.
struct ShownKey {
    QRect at;
    char key = 0;
};

// A place of the table: a table pile (area 0, column 1 to 9) or a hand slot
// (area 1 or 2, column 1 to 4); area -1 for none.
struct TablePlace {
    int area = -1;
    int column = 0;
    bool operator==(const TablePlace&) const = default;
};

class TableView {
  public:
    // An empty table, all green, with no widgets: nothing is shown until
    // the window attaches them. `mirror` is the game shown: the names, whose
    // turn it is, who the computer moves, the settings.
    explicit TableView(const GameMirror& mirror) : mirror_(mirror) {}
    TableView(const TableView&) = delete;
    TableView& operator=(const TableView&) = delete;

    // What is drawn on the table now.
    TableMirror table;
    // The keyboard focus as set last (tablefocus.h reads and moves it).
    TablePlace focusSet;

    // The window hands over its widgets when it is built, before anything is
    // drawn, and takes them back (an empty set) when it goes.
    void AttachWidgets(const TableWidgets& widgets);
    // The widgets the window attached (none while no window is attached).
    const TableWidgets& AttachedWidgets() const { return widgets_; }
    // The mirror of the game shown.
    const GameMirror& ShownMirror() const { return mirror_; }
    // The widget that shows the table; null while no window is attached.
    QWidget* SurfaceWidget() const { return widgets_.surface; }
    // The remaining-cards panel (its slide: remainingpanel.h).
    QWidget* RemainingPanel() const { return widgets_.remainingPanel; }
    // A point of the table in global (screen) pixels.
    QPoint TableToGlobal(const QPoint& at) const;
    // The most cards in any table pile now.
    int DeepestPile() const;

    // Top left corner of a card place (capture piles: the next card's place).
    QPoint CardPosition(int area, int column, int depth) const;

    // Loads the card pictures (1..65, 101, 102, 100) at the window's ratio;
    // they are held as long as the view.
    void LoadPictures();
    // A loaded picture; null when the picture set is not part of this build.
    const QPixmap& Picture(int number) const { return pictures_[number]; }

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

    // The marks of the last move: an outline around every place its cards
    // left or came to (table piles with their tags, capture piles) and its
    // words on the green below the piles. The window's paint draws them over
    // the back buffer, so they never change the table's picture; they stay
    // until the player acts or the table is cleared.
    // Starts noting the places that cards come to and go from; the marks shown stay.
    void BeginMoveMarks();
    // Stops noting and shows the outlines of the places noted, and `words`.
    void ShowMoveMarks(const QString& words);
    // Takes the marks and words away (the window shows it at once when there were any).
    void ClearMoveMarks();
    // What is shown: the outlined places (each the place's own extent) and the words.
    const std::vector<QRect>& MoveMarks() const { return marks_; }
    QString MoveWords() const { return words_; }

    // The table's note: a line or two on the green that tells the player
    // what to do now (how to begin, how to move, that the game stopped). It
    // goes on the first row while no table pile holds a card, else on the
    // band of the move's words, below them. Every note is set here, and
    // TableNote is what shows ("" for none). A new view shows kStartNote.
    void SetTableNote(const QString& text);
    QString TableNote() const { return tableNote_; }

    // Whose turn it is: that player's name panel is marked (bold on a
    // lighter panel), shown at once; 0 marks neither.
    void ShowTurn(int player);
    int TurnShown() const { return turnShown_; }

    // Drawing of the reply items "T", "A", "U" and "G".
    // The tag above a table column: the strip of the player to move (101 for
    // player 1, 102 otherwise) with the pile's rank letter on silver.
    void DrawTag(int column, char letter);
    // Four frames of a card's flight, each drawn on the window only and shown
    // for a quarter delay unit; the back buffer is never touched.
    void AnimateCard(int fromArea, int toArea, int picture, int fromColumn, int fromDepth,
                     int toColumn, int toDepth);
    FlightFrame CardInFlight() const { return flight_; }

    std::vector<ShownKey> ShownPileKeys() const;
    void ShowRemainingCards(char suit, int mask);
    void ShowScores(int player, const ScoreRecord& values);

    // The name panels: the players' plain names (a game starts), or each name
    // with the game total at the end of a round, shown at once.
    void ShowPlayerNames();
    void ShowRoundTotals(int total1, int total2);
    // The status line of move entry (a debug control): kept, and written on
    // its label only while the debug controls are shown.
    void ShowStatus(const QString& text);
    QString StatusText() const { return statusText_; }

    // The accessible table registers here to hear of every change of what the
    // table shows (cards, highlights, tags, words, notes, focus); the drawing
    // calls it after each.
    void SetTableWatcher(void (*watcher)(TableView&));
    // Tells the watcher of a change made elsewhere (the keyboard focus).
    void NotifyTableWatcher();
    // Where the accessible table sends its events: the toolkit's
    // accessibility update (null), or a test's recorder, which also hears
    // them while no screen reader listens.
    void (*accessEvents)(QAccessibleEvent*) = nullptr;

  private:
    void TellWatcher();
    void ShowHintAvailable();
    qreal BufferRatio() const;
    QPixmap PictureAt(int number, qreal ratio) const;
    QImage MaskedPicture(int picture, qreal ratio) const;
    void DrawMaskedCard(QPainter& painter, const QPoint& at, int picture, qreal ratio) const;
    void DrawPicture(const QPoint& at, int picture);
    void FillTableColour(const QRect& area);
    void ClearPlace(int area, int column, int depth);
    QRect PlaceExtent(int area, int column) const;
    void Note(int area, int column);
    bool NoTablePile() const;
    void DrawCapturePile(int area);
    bool ShowsCards(const QRect& place) const;
    void DrawMarks(QPainter& painter, const QRect& noteBand) const;
    void NameScoreSheet();

    const GameMirror& mirror_;
    TableWidgets widgets_;
    QString tableNote_ = QString::fromLatin1(kStartNote);
    Checked<QPixmap, 1, 102> pictures_;
    QImage backBuffer_;
    // A card in flight: drawn over the back buffer by the window's paint only.
    FlightFrame flight_;
    // The last move's marks. While noting, every card shown or erased on a
    // table pile or capture pile widens that place's noted extent to cover
    // the place before and after; the extents become the marks when the move
    // is done.
    bool noting_ = false;
    Checked<Checked<QRect, 1, kNumColumns>, 0, 4> noted_;
    std::vector<QRect> marks_;
    QString words_;
    int turnShown_ = 0;
    QString statusText_;
    void (*watcher_)(TableView&) = nullptr;
};

// The view that draws on `surface`, as it marks the widget it is attached to
// and that widget's window; an empty view for any other widget and once the
// view is detached. The accessible table finds the view of the table widget
// by it, the score sheet and the panel's button by their window.
const TableView& ViewOf(const QWidget* surface);
