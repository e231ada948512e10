// The application object of the game program. Its event dispatch is the one
// place where an error that abandons an event handler (a RangeError above all)
// is caught and reported in a message box; the event loop then goes on.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

#include "dialogs/formparts.h"

// It also keeps what the dialogs share (DialogHost): the main window and the
// sinks that tests divert messages and beeps to.
class CasinoApplication : public QApplication, public DialogHost {
  public:
    CasinoApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // `take` is called when the application is asked to quit from outside
    // the window (the session manager's "die"); when it returns true it has
    // ended the program its own way, and the windows are not asked to close.
    void OnQuitRequest(std::function<bool()> take) { quitRequest_ = std::move(take); }

  protected:
    bool event(QEvent* event) override;

  private:
    std::function<bool()> quitRequest_;
};

// Reports an error that abandoned an event handler.
void ReportError(const std::exception& error);
