#include "window/application.h"

#include <QFont>

#include "dialogs/boxes.h"
#include "dialogs/formparts.h"

CasinoApplication::CasinoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Casino"));
    setFont(ProgramFont());
}

bool CasinoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportError(error);
        return false;
    }
}

bool CasinoApplication::event(QEvent* event) {
    // A quit request closes every window, whose close asks the player first;
    // a session that is ending has nobody to answer.
    if (event->type() == QEvent::Quit && quitRequest_ && quitRequest_()) return true;
    return QApplication::event(event);
}

void ReportError(const std::exception& error) {
    ShowMessage(QString::fromLocal8Bit(error.what()));
}
