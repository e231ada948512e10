// The application object of the game program. Its event dispatch is the one
// place where an error that abandons an event handler (a RangeError above all)
// is caught and reported in a message box; the event loop then goes on.
#pragma once

#include <QApplication>
#include <exception>

class CasinoApplication : public QApplication {
  public:
    CasinoApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Reports an error that abandoned an event handler.
void ReportError(const std::exception& error);
