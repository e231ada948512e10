// Helpers of the program's tests, shared by every test program: the test's
// own window or game, the one record of the requests sent (to a scripted stand-in for the
// library or through to the real one), the reader of reply items (the
// program's own, from movetext), the feeding of a reply to the reply
// handlers, a test table dealt onto the window, the log of the messages the
// program shows, and the one way modal boxes are answered: by a timer while
// they are open.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/game.h"
#include "table/movetext.h"  // ReplyItems, the one reader of reply items

class QTimer;
class TCasinoGUI;

// A new main window for a test or for the tests of one program (any window
// opened before is closed): with the real library bound from the build (and
// the start-up request sent) when `bindLibrary`, shown, exposed, and the card
// pictures loaded; messages shown as boxes and beeps silenced. Null when
// start-up with the library fails or shows a message.
TCasinoGUI* OpenTestWindow(bool bindLibrary = false);
void CloseTestWindow();
// A new window with the stand-in as its library: the start of most tests.
TCasinoGUI* FreshTest();
// A new game of a test that opens no window (any test window is closed).
Game& NewTestGame();
// The game the tests play: the test window's, or else the last one
// NewTestGame made (made on first use).
Game& TestGame();
LogicLink& TestLink();
GameMirror& TestMirror();
TableView& TestView();

// Every request sent to the stand-in or through the pass-through, in order.
struct Sent {
    static std::vector<std::string> requests;
    static QStringList List();  // the same, as text
    static void Clear();
};

// The stand-in entry: records every request and answers with the next
// scripted reply ("</>" once the script is used up).
struct StandIn {
    static std::deque<std::string> replies;
    // Installs the stand-in as the logic entry and empties the record and the script.
    static void Install();
    // Makes the stand-in the entry of `link` too (a window of the test's own).
    static void Attach(LogicLink& link);
    static void Script(std::initializer_list<std::string> scripted);
};

// Wraps the real library's entry: every request is recorded and passed on, so
// a test sees exactly what went out against real replies. `before` sees each
// request before the library does, `after` each reply.
struct PassThrough {
    static std::function<void(const std::string& request)> before;
    static std::function<void(const std::string& reply)> after;
    // Takes the entry of `link` as the real one and empties the record; false when there is none.
    static bool Install(LogicLink& link = TestLink());
    // The real library's entry, for asking it directly.
    static LogicEntry Real();
};

// Hands `text` to the reply handlers as a reply, with the follow-ups they ask
// for at its items; returns the request they leave for the end of the reply.
RequestBuffer ProcessReply(const char* text);

// A test table on the window: a pile of the given pictures in `column`,
// bottom card first; a pile of `depth` cards (pictures column + 1 on); four
// cards in each hand (player 1's faces 41 to 44, player 2's backs).
void DealPile(int column, std::initializer_list<int> pictures);
void DealPile(int column, int depth);
void DealHands();
// Where a user aims: the middle of a pile's top card, or of a hand card.
QPoint PileSpot(int column);
QPoint HandSpot(int player, int slot);

// The labels of the window's score sheet whose text does not fit their width
// with `margin` pixels to spare on either side, at the label's font, each as
// "text: width of room".
QStringList CrampedScoreLabels(const TCasinoGUI& window, int margin);

// Draws 52 cards into each capture pile and returns what lies where it must
// not: a pile's top card or its outline outside the table or over the
// remaining-cards button or a name panel, a card drawn under the button or
// past the window's edge, a top card not drawn whole.
QStringList CapturePileFaults(const TCasinoGUI& window);

// Collects what ShowMessage would show, instead of opening boxes.
struct MessageLog {
    QStringList texts;
    MessageLog();
    ~MessageLog();
};

// Answers modal boxes while it lives: every 5 ms, `answer` runs on the modal
// box that is open, if any.
class ModalAnswerer {
  public:
    explicit ModalAnswerer(std::function<void(QWidget*)> answer);
    ~ModalAnswerer();

  private:
    std::unique_ptr<QTimer> timer_;
};
// Runs `answer` on the next modal box to open (given up after about five seconds).
void AnswerNextModal(std::function<void(QWidget*)> answer);
// Runs `answer` on the next modal box if it is a `Box`; closes any other box.
template <typename Box>
void AnswerNext(std::function<void(Box*)> answer) {
    AnswerNextModal([answer](QWidget* modal) {
        if (auto* box = dynamic_cast<Box*>(modal))
            answer(box);
        else
            modal->close();
    });
}
// Presses OK or Cancel in the next confirm box; its caption and text are kept.
struct ConfirmAnswer {
    QString caption;
    QString text;
    bool asked = false;
};
void AnswerNextConfirm(bool ok, ConfirmAnswer* seen = nullptr);
