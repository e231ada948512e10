// The game program: creates the main window, which binds the logic library,
// and runs the event loop until the user leaves.
#include <exception>

#include "window/application.h"
#include "window/casinogui.h"

int main(int argc, char* argv[]) {
    CasinoApplication app(argc, argv);
    // The desktop entry's id, so that the desktop ties the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kzq.Casino"));
    TCasinoGUI window;
    try {
        if (!window.FormCreate(QCoreApplication::applicationDirPath())) return 1;
    } catch (const std::exception& error) {
        ReportError(error);  // the window is up; the user may go on from here
    }
    window.show();
    return app.exec();
}
