// Folder dialogs/: the dialogs and message boxes (New Game, Hall of Fame,
// Choose Action, Help, About, the questions) and the parts they are built
// from. A dialog shows and edits the mirrors in core/ and reports its outcome;
// it sends no request itself (the Hall of Fame's buttons run the actions its
// opener hands it). Uses table/ and core/.
//
// Small pieces the game's dialogs are built from: the window flags of a fixed
// modal dialog, labels, buttons, group boxes and bevels placed at fixed
// client pixels, the owner a dialog opens over, centring on the screen, and
// the program's font.
#pragma once

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <Qt>
#include <functional>

class QAccessibleEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// A fixed-size dialog with a title bar, system menu and close button.
constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                              Qt::WindowCloseButtonHint;

// The program's font: the platform's sans-serif face at 8 points.
QFont ProgramFont();

// What the program's dialogs and boxes share, kept by the application object
// (CasinoApplication is one): the main window, which a dialog opens over while
// no window of the program is active, and where messages and beeps go
// instead of a box and the speaker (tests divert them there).
struct DialogHost {
    virtual ~DialogHost() = default;
    QPointer<QWidget> mainWindow;
    std::function<void(const QString&)> messageSink;
    std::function<void()> beepSink;
    // Where the choice lists' accessible events go: Qt's accessibility (null)
    // or a test's recorder.
    void (*choiceEvents)(QAccessibleEvent*) = nullptr;
};
// The application object's, or null when the application keeps none.
DialogHost* TheDialogHost();

// The window a dialog opens over: the active window, or else the main window
// (while no window of the program is active), or none.
QWidget* DialogOwner();
// The main window registers itself here when it is built, and null when it goes.
void SetMainWindow(QWidget* window);
// Moves a top-level window to the centre of the primary screen.
void CentreOnScreen(QWidget* window);
// Moves a top-level window so that the top centre of its frame lies at
// `topCentre` (global pixels), as far as the screen allows.
void PlaceOnScreen(QWidget* window, const QPoint& topCentre);

// A label sized to its text, its top left at (x, y).
QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y);
// Ties a field to the label before it: the label is its buddy, and the field
// gets `name` as its accessible name (check boxes and spin boxes take none
// from a buddy).
void TieLabel(QLabel* label, QWidget* field, const QString& name);
QPushButton* PlaceButton(QWidget* parent, const QString& text, const QRect& at);
// A group box; an empty caption draws the frame alone.
QGroupBox* PlaceGroup(QWidget* parent, const QString& caption, const QRect& at);
// A sunken line (horizontal when wider than high): one side of a bevelled frame.
QFrame* PlaceBevelLine(QWidget* parent, const QRect& at);
// A panel with a raised inner and a lowered outer bevel.
QFrame* PlaceBevelPanel(QWidget* parent, const QRect& at);
