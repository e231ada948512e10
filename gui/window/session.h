// The program's place among other processes: one game per data folder (a
// second start raises the first game's window and ends), and the ends of a
// session that the player did not choose in the window: SIGTERM, SIGHUP and
// SIGINT (logout, shutdown, a closed terminal, Ctrl+C), and the desktop
// session's end.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QSessionManager;
class QSocketNotifier;
class QWidget;
class TCasinoGUI;

// The claim on a data folder: a lock file in it (a lock left by a process
// that has ended is taken over) and a local server, named after the folder,
// through which a later start asks this one to raise its window.
class SingleInstance : public QObject {
  public:
    enum class Claim {
        kClaimed,    // this is the one game of the folder
        kRaised,     // another game has it, and raised its window
        kUnreached,  // another game has it, but did not answer
        kUnlocked,   // the folder takes no lock file: play without the claim
    };

    // The claim on `folder` (absolute).
    explicit SingleInstance(const QString& folder);
    ~SingleInstance() override;

    // Tries the claim; with kRaised or kUnreached the program ends at once.
    Claim Take();
    // Once the window is up: raises and activates `window` whenever a later
    // start asks.
    void Listen(QWidget* window);
    // The local server's name for a folder.
    static QString ServerName(const QString& folder);
    // The lock file's name in the folder.
    static const char kLockFile[];

  private:
    // Asks the game that listens for the folder to raise its window; true
    // when it answered that it did.
    bool AskToRaise() const;

    QString folder_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
};

// Raises, shows and activates a window that another start asked for.
void RaiseWindow(QWidget* window);

// The message of a start that found the folder taken by a game that did not answer.
QString AlreadyRunningText(const QString& folder);

// The option with which the launcher starts the program when the data
// folder cannot be made or used, followed by the folder and the reason: the
// program then shows them and ends, since a start from the desktop menu has
// no terminal to read them in.
extern const char kNoDataFolderOption[];
QString NoDataFolderText(const QString& folder, const QString& why);

// Ends the program without a question, for a signal or the session
// manager's "die" (`cause` names which): the save of the way out; when it
// fails, that is written to the error output and the system log, and the
// program ends with status 1, since nobody may be there to read a box.
void EndWithoutAsking(TCasinoGUI& window, const QString& cause);
QString UnsavedAtEndText(const QString& cause, const QString& folder, const QString& why);

// Tells the session manager how to start this game again in a restored
// session: the launcher that started it (named in CASINO_LAUNCHER) or else
// this program, in the data folder `folder`.
void SetRestart(QSessionManager& manager, const QString& folder);

// Catches SIGTERM, SIGHUP and SIGINT through a pipe that only the handler
// writes, and calls `end` from the event loop, once.
class SignalWatch : public QObject {
  public:
    explicit SignalWatch(std::function<void(int signal)> end);
    ~SignalWatch() override;

  private:
    void Read();

    std::function<void(int)> end_;
    QSocketNotifier* notifier_ = nullptr;
    bool ended_ = false;
};
