// The game program: claims the records file of the data folder (the current
// folder) for this one game, creates the main window, which binds the logic library, and runs the
// event loop until the user leaves or the session ends.
#include <QDir>
#include <QSessionManager>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <exception>

#include "dialogs/boxes.h"
#include "link/saving.h"
#include "window/application.h"
#include "window/casinogui.h"
#include "window/session.h"

int main(int argc, char* argv[]) {
    // Before anything writes (the toolkit's caches too): a write past the
    // file size limit then fails with an error that is told like any other.
    std::signal(SIGXFSZ, SIG_IGN);
    CasinoApplication app(argc, argv);
    // The desktop entry's id, so that the desktop ties the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kzq.Casino"));
    if (argc == 4 && std::strcmp(argv[1], kNoDataFolderOption) == 0) {
        ShowMessage(NoDataFolderText(QFile::decodeName(argv[2]), QString::fromLocal8Bit(argv[3])));
        return 1;
    }

    // The signals that end a session, caught from here on (acted on once the
    // event loop runs).
    TCasinoGUI* window = nullptr;
    const SignalWatch signalWatch([&window](int signal) {
        if (window)
            EndWithoutAsking(*window, QString::fromLatin1(sigabbrev_np(signal)).prepend("SIG"));
        else
            QCoreApplication::exit(1);
    });

    // One game per records file, before anything is loaded: a second start
    // raises the first game's window and ends without touching the records.
    const QString folder = RecordsFolder();
    SingleInstance instance;
    bool guarded = true;
    switch (instance.Take()) {
        case SingleInstance::Claim::kRaised:
            return 0;
        case SingleInstance::Claim::kUnreached:
            ShowMessage(AlreadyRunningText(folder));
            return 1;
        case SingleInstance::Claim::kUnlocked:
            guarded = false;
            break;
        case SingleInstance::Claim::kClaimed:
            break;
    }

    TCasinoGUI mainWindow;
    window = &mainWindow;
    // The desktop session's end: saved without a question, and the way to
    // start again in this folder told to the session manager.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow, &folder](QSessionManager& manager) {
                         SetRestart(manager, folder);
                         mainWindow.CommitData();
                     });
    // A save of the state alone (for a later restart) saves the records too:
    // they are all the state the game has.
    QObject::connect(&app, &QGuiApplication::saveStateRequest, &mainWindow,
                     [&mainWindow, &folder](QSessionManager& manager) {
                         SetRestart(manager, folder);
                         mainWindow.CommitData();
                     });
    app.OnQuitRequest([&mainWindow] {
        EndWithoutAsking(mainWindow, QStringLiteral("the end of the desktop session"));
        return true;
    });
    try {
        if (!mainWindow.FormCreate(QCoreApplication::applicationDirPath())) return 1;
    } catch (const std::exception& error) {
        ReportError(error);  // the window is up; the user may go on from here
    }
    mainWindow.show();
    instance.Listen(&mainWindow);
    if (!guarded)
        QTimer::singleShot(0, &mainWindow,
                           [&instance] { ShowMessage(UnguardedText(instance.File())); });
    return app.exec();
}
