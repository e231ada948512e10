// Folder window/: the top of the program. The application object, the main
// window and its controls, the menu commands, start-up and exit and what the
// player is told about the records file. Nothing below includes it.
//
// The main window TCasinoGUI, on top of the program: the fixed green table
// with the score sheet, the name panels and the other controls (handed to the
// table view once, when they are built), the menu bar and the pop-up menu with
// their commands, the hidden debug controls and their handlers, start-up
// (binding the library and the first request, and telling what stands in
// the way of the records file) and the ways out (the Exit command and
// closing the window, which ask first; a signal, which does not; a failed
// save is told there), and the save at the desktop session's end.
#pragma once

#include <QMainWindow>

#include "link/game.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TCasinoGUI;

// The client area: shows the back buffer and takes the mouse on the table.
class TableSurface : public QWidget {
  public:
    explicit TableSurface(TCasinoGUI* window);
    // The dashed focus outline is for keyboard players: it shows once the
    // arrows, Space or Enter are used on the table or Tab brings the focus
    // to it, and goes when the mouse presses on the table.
    bool FocusOutlineShown() const { return keysInUse_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The arrow keys, Space and Enter on the table (TableKey); the other keys
    // go on to the window.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void UseKeys(bool keys);

    TCasinoGUI* window_;
    bool keysInUse_ = false;
};

class TCasinoGUI : public QMainWindow {
  public:
    static constexpr int kClientWidth = 792;
    static constexpr int kClientHeight = 553;

    TCasinoGUI();
    ~TCasinoGUI() override;

    // FormCreate: binds the library from `libraryFolder` and runs StartUp.
    // False when the library cannot be loaded (the message has been shown):
    // the program then stops.
    bool FormCreate(const QString& libraryFolder);
    // The rest of the set-up, once the library is bound: the trace log, "<B>9",
    // an empty table, player 1 to move, the card pictures.
    void StartUp();

    // The game this window plays: the link to the library, the save and the
    // reply handlers.
    Game& TheGame() { return game_; }

    // True once "<W>" has been sent on the way out.
    bool Ended() const { return ended_; }
    // A signal ends the program: the save of the way out, without the
    // question, then the event loop ends.
    void EndSession();
    // The desktop session is ending: saves without asking; the program may
    // go on if the session's end is cancelled.
    void CommitData();

    // Commands.
    void HowtoPlay2Click();
    void NewGame1Click();
    void GameSettingsClick();
    void HighScores1Click();
    void About2Click();
    void Exit1Click();
    // Opens the pop-up menu with its top edge at `globalPos`, horizontally centred on it.
    void ShowPopupMenu(const QPoint& globalPos);

    // The hidden debug controls' handlers (controls.cpp). H shows or hides the
    // other debug controls; "1=H" and "2=C" switch who moves each player;
    // Debug switches the display of every request and reply.
    void HClick();
    void DebugShowMsg11();
    void Button9Click();
    void Button10Click();
    // The table mirror's pile depths into Edit2, its highlights into Edit3.
    void DebugCardArrays();
    void DebugCardClicked();
    // "GUI > LOG": sends the version request and shows the request and the
    // library's reply in a message box.
    void SendMessage();
    // A key typed while the remaining-cards button has the focus: "k" then
    // "z" (either letter case) shows or hides the H button.
    void RemainingCardsButtonKeyPress(char key);

    TableSurface* Table;

    // Menus.
    QMenu* File1;
    QAction* HowtoPlay2;
    QAction* NewGame1;
    QAction* GameSettings1;
    QAction* HighScores1;
    QAction* About2;
    QAction* Exit1;
    QMenu* HintMenu;
    QMenu* PopupMenu1;

    // The score sheet: player 1's values, the row names, player 2's values.
    QFrame* Scores1;
    QFrame* Panel1;
    QFrame* Scores2;
    QLabel* Aces1;
    QLabel* TwoSpades1;
    QLabel* TenDiamonds1;
    QLabel* Sweeps1;
    QLabel* Spades1;
    QLabel* Cards1;
    QLabel* Points1;
    QLabel* Aces2;
    QLabel* TwoSpades2;
    QLabel* TenDiamonds2;
    QLabel* Sweeps2;
    QLabel* Spades2;
    QLabel* Cards2;
    QLabel* Points2;
    QLabel* Player1Name;
    QLabel* Player2Name;

    QPushButton* Hint;
    QPushButton* RemainingCardsButton;
    QFrame* RemainingCards;
    QLabel* RemainingCardsLabel;
    QLabel* RemainClubs;
    QLabel* RemainHearts;
    QLabel* RemainSpades;
    QLabel* RemainDiamonds;

    // Hidden debug controls.
    QLabel* Label1;
    QPushButton* PutButton;
    QPushButton* H;
    QPushButton* Button7;
    QPushButton* NewGame;
    QPushButton* Button8;
    QPushButton* Button9;
    QPushButton* Button10;
    QLineEdit* Edit2;
    QLineEdit* Edit3;

  protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    // Showing the window tells what start-up found of the records file, once.
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Keyboard play (KeyboardPlay): keys that no control took, without Ctrl,
    // Alt or Meta; a held key acts once.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildMenus();
    void BuildControls();  // controls.cpp
    // Sends "<W>"; while the library cannot save, asks whether to try again.
    void SendSave();
    // Shows the start-up notice about the records file, once.
    void TellStartNotice();

    Game game_;
    bool ended_ = false;
    QString startNotice_;       // waiting to be shown when the window is up
    bool accessArmed_ = false;  // "k" typed on the remaining-cards button
};

// The two keys of the access sequence.
extern const char kAccessKeys[];

// Caption and text of the exit question.
extern const char kExitCaption[];
extern const char kExitText[];
