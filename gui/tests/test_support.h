// Helpers of the program's tests: a recording stand-in for the library's
// entry with scripted replies, a log of the messages the program shows, and
// answers to modal boxes given by timers.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class QWidget;
class TCasinoGUI;

// The stand-in entry: records every request and answers with the next
// scripted reply ("</>" once the script is used up).
struct StandIn {
    static std::vector<std::string> requests;
    static std::deque<std::string> replies;
    // Installs the stand-in as the logic entry and empties the record and the script.
    static void Install();
    static void Script(std::initializer_list<std::string> scripted);
};

// Wraps the real library's entry: every request is kept in `sent` and then
// passed on, so a test sees exactly what went out against real replies.
struct PassThrough {
    static QStringList sent;
    // Takes the current entry as the real one; false when there is none.
    static bool Install();
};

// Collects what ShowMessage would show, instead of opening boxes.
struct MessageLog {
    QStringList texts;
    MessageLog();
    ~MessageLog();
};

// Runs `answer` on the next modal box to open, from a timer.
void AnswerNextModal(std::function<void(QWidget*)> answer);
// Presses OK or Cancel in the next confirm box; its caption and text are kept.
struct ConfirmAnswer {
    QString caption;
    QString text;
    bool asked = false;
};
void AnswerNextConfirm(bool ok, ConfirmAnswer* seen = nullptr);

// Puts the program-wide state, the table and the logic entry back to their start.
void ResetAll();

// The main window that the tests of one program share: built after ResetAll,
// with the real library bound from the build (and the start-up request sent)
// when `bindLibrary`, shown, exposed, and the card pictures loaded.
TCasinoGUI* OpenTestWindow(bool bindLibrary = false);
void CloseTestWindow();
