#include "window/session.h"

#include <fcntl.h>
#include <syslog.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "link/logiclink.h"
#include "link/saving.h"
#include "window/casinogui.h"
#include "window/recordsfile.h"

const char SingleInstance::kLockFile[] = "casino.lock";

namespace {

// What a later start sends, and what the first answers once its window is raised.
const char kRaiseRequest[] = "raise\n";
const char kRaisedAnswer[] = "raised\n";
constexpr int kAnswerMs = 5000;

}  // namespace

SingleInstance::SingleInstance(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath(QString::fromLatin1(kLockFile))) {
    // Only a lock whose process has ended is stale; a game may run for days.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const QString& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("casino-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(24)));
}

SingleInstance::Claim SingleInstance::Take() {
    if (lock_.tryLock(0)) return Claim::kClaimed;
    if (lock_.error() != QLockFile::LockFailedError)
        // No lock file here; a game that listens for the folder still counts.
        return AskToRaise() ? Claim::kRaised : Claim::kUnlocked;
    // Another game holds the folder: ask it to raise its window.
    return AskToRaise() ? Claim::kRaised : Claim::kUnreached;
}

bool SingleInstance::AskToRaise() const {
    QLocalSocket socket;
    socket.connectToServer(ServerName(folder_));
    if (!socket.waitForConnected(kAnswerMs)) return false;
    socket.write(kRaiseRequest);
    if (!socket.waitForBytesWritten(kAnswerMs)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(kAnswerMs)) return false;
    return socket.readLine() == kRaisedAnswer;
}

void SingleInstance::Listen(QWidget* window) {
    const QString name = ServerName(folder_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // With the lock ours, a server of that name is left from a game that ended.
    if (lock_.isLocked()) QLocalServer::removeServer(name);
    if (!server_->listen(name)) return;  // later starts then say that they got no answer
    connect(server_, &QLocalServer::newConnection, this, [this, window] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [socket, window] {
                if (!socket->canReadLine()) return;
                if (socket->readLine() != kRaiseRequest) {
                    socket->disconnectFromServer();
                    return;
                }
                RaiseWindow(window);
                socket->write(kRaisedAnswer);
                socket->flush();
            });
        }
    });
}

void RaiseWindow(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

QString AlreadyRunningText(const QString& folder) {
    return QStringLiteral(
               "Casino is already running with the records in this folder:\n%1\n\n"
               "It did not answer the request to show its window, so this start ends here and "
               "leaves the records alone. Look for the game's window, or end that game, then "
               "start Casino again.")
        .arg(folder);
}

const char kNoDataFolderOption[] = "--no-data-folder";

QString NoDataFolderText(const QString& folder, const QString& why) {
    return QStringLiteral(
               "Casino cannot start: it keeps its records in this folder, which cannot be made "
               "or used:\n%1\n\nThe reason: %2.")
        .arg(folder, why);
}

// ---- The session's end ----------------------------------------------------------------------

void EndWithoutAsking(TCasinoGUI& window, const QString& cause) {
    if (window.Ended()) {
        QCoreApplication::exit(0);
        return;
    }
    StopAsking();
    window.EndSession();
    if (!SaveFailed(LastReply())) return;
    QString why = WhyNotWritable();
    if (why.isEmpty()) why = QStringLiteral("the file could not be written (is the disk full?)");
    const QByteArray text = UnsavedAtEndText(cause, RecordsFolder(), why).toLocal8Bit();
    std::fprintf(stderr, "casino: %s\n", text.constData());
    std::fflush(stderr);
    // Where no system log runs, this goes nowhere.
    openlog("casino", LOG_PID, LOG_USER);
    syslog(LOG_ERR, "%s", text.constData());
    closelog();
    QCoreApplication::exit(1);
}

QString UnsavedAtEndText(const QString& cause, const QString& folder, const QString& why) {
    return QStringLiteral(
               "the records (the Hall of Fame and the game settings) could not be saved when "
               "the game was ended by %1: %2, in the folder %3; the results since the last save "
               "are lost")
        .arg(cause, why, folder);
}

void SetRestart(QSessionManager& manager, const QString& folder) {
    QString program = QCoreApplication::applicationFilePath();
    const QString launcher = QFile::decodeName(qgetenv("CASINO_LAUNCHER"));
    if (QFileInfo(launcher).isAbsolute() && QFileInfo(launcher).isExecutable()) program = launcher;
    manager.setRestartCommand({program, QStringLiteral("-session"), manager.sessionId()});
    // The folder the manager starts it in (the launcher finds its own).
    manager.setManagerProperty(QStringLiteral("CurrentDirectory"), folder);
}

// ---- Signals -----------------------------------------------------------------------------

namespace {

int signalPipe[2] = {-1, -1};

// Async-signal-safe: one write of the signal number, nothing else.
void OnSignal(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(std::function<void(int)> end) : end_(std::move(end)) {
    if (signalPipe[0] < 0 && pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatch::Read);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

SignalWatch::~SignalWatch() {
    // Back to the default: a signal after the watch is gone ends the process.
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, SIG_DFL);
}

void SignalWatch::Read() {
    unsigned char byte = 0;
    int last = 0;
    while (read(signalPipe[0], &byte, 1) == 1)
        last = byte;
    if (last == 0 || ended_) return;
    ended_ = true;
    end_(last);
}
