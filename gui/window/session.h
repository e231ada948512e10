// The program's place among other processes: one game per records file (a
// second start raises the first game's window and ends), and the ends of a
// session that the player did not choose in the window, which never wait on
// a question: SIGTERM, SIGHUP and SIGINT (logout, shutdown, a closed
// terminal, Ctrl+C), and the desktop session manager's.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QSessionManager;
class QSocketNotifier;
class QWidget;
class TCasinoGUI;

// The claim on a records file: a lock in the user's runtime folder named
// after the file that is really written (the target of a link), so that one
// game at a time writes it whichever folder it is reached from, and a local
// server of the same name through which a later start asks this one to raise
// its window. The lock is the system's own (flock): it ends with the process
// that holds it, whatever the lock file holds or lacks.
class SingleInstance : public QObject {
  public:
    enum class Claim {
        kClaimed,    // this is the one game of the records file
        kRaised,     // another game has it, and raised its window
        kUnreached,  // another game has it, but did not answer
        kUnlocked,   // no lock can be made: play without the claim
    };

    // The claim on the records file of the current folder.
    SingleInstance();
    ~SingleInstance() override;

    // The records file's real path.
    const QString& File() const { return file_; }
    // Tries the claim; with kRaised or kUnreached the program ends at once.
    // Claimed, it listens at once, and answers once the window is given.
    Claim Take();
    // Once the window is up: raises and activates `window` whenever a later
    // start asks (and for a start that asked before).
    void Listen(QWidget* window);
    // The local server's name for a records file (its real path).
    static QString ServerName(const QString& file);
    // The lock file of a records file (its real path), in the runtime folder;
    // empty when there is no runtime folder.
    static QString LockName(const QString& file);
    // The lock file's name in the data folder of earlier versions, no longer used.
    static const char kLockFile[];

  private:
    // Asks the game that holds the file to raise its window: kRaised,
    // kUnreached, or kClaimed when that game ended meanwhile and the lock is ours.
    Claim AskToRaise();
    // Takes the lock; false when another game holds it or none can be made.
    bool Lock();
    // True when another game holds the lock.
    bool LockHeld() const;
    void StartServer();
    void Answer(QLocalSocket* socket);

    QString file_;  // the records file's real path
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    QWidget* window_ = nullptr;
};

// The message of a start that found no place for the lock.
QString UnguardedText(const QString& file);

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
