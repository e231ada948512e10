#include "window/session.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
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
// How long a connected game may take to answer (it may still be loading),
// and how long a start waits for a game that holds the lock to listen.
constexpr int kAnswerMs = 10000;
constexpr int kListenMs = 20000;

// The name both the lock and the server take after a records file.
QString KeyOf(const QString& file) {
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(file), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("casino-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(24)));
}

}  // namespace

SingleInstance::SingleInstance() : file_(QFile::decodeName(RecordsTarget())) {}

SingleInstance::~SingleInstance() {
    if (lockFd_ >= 0) close(lockFd_);
}

QString SingleInstance::ServerName(const QString& file) {
    return KeyOf(file);
}

QString SingleInstance::LockName(const QString& file) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) return {};
    return QDir(runtime).filePath(KeyOf(file) + QStringLiteral(".lock"));
}

bool SingleInstance::Lock() {
    const QByteArray name = QFile::encodeName(LockName(file_));
    if (name.isEmpty()) return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd =
            open(name.constData(),
                 O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
        struct stat st;
        if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
                close(fd);
                return false;
            }
            // For a person who looks: which process holds it.
            const QByteArray pid = QByteArray::number(getpid()) + '\n';
            if (ftruncate(fd, 0) == 0 && write(fd, pid.constData(), size_t(pid.size())) < 0) {
                // Only a note; the lock holds without it.
            }
            lockFd_ = fd;
            return true;
        }
        if (fd >= 0) close(fd);
        // No game leaves anything but a file there: a link, an empty folder
        // or a FIFO in its place is removed, once.
        if (unlink(name.constData()) != 0 && rmdir(name.constData()) != 0) return false;
    }
    return false;
}

bool SingleInstance::LockHeld() const {
    const QByteArray name = QFile::encodeName(LockName(file_));
    const int fd = open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

SingleInstance::Claim SingleInstance::Take() {
    if (Lock()) {
        StartServer();
        return Claim::kClaimed;
    }
    if (LockHeld()) return AskToRaise();
    // No lock can be made here; a game that listens for the file still counts.
    QLocalSocket socket;
    socket.connectToServer(ServerName(file_));
    if (!socket.waitForConnected(kAnswerMs)) return Claim::kUnlocked;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kAnswerMs);
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(kAnswerMs)) return Claim::kUnlocked;
    return socket.readLine() == kRaisedAnswer ? Claim::kRaised : Claim::kUnlocked;
}

SingleInstance::Claim SingleInstance::AskToRaise() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kListenMs) {
        QLocalSocket socket;
        socket.connectToServer(ServerName(file_));
        if (socket.waitForConnected(1000)) {
            socket.write(kRaiseRequest);
            if (!socket.waitForBytesWritten(kAnswerMs)) return Claim::kUnreached;
            while (!socket.canReadLine())
                if (!socket.waitForReadyRead(kAnswerMs)) return Claim::kUnreached;
            return socket.readLine() == kRaisedAnswer ? Claim::kRaised : Claim::kUnreached;
        }
        // The game that holds the lock is starting and not listening yet,
        // or it has just ended and the lock is free.
        if (Lock()) {
            StartServer();
            return Claim::kClaimed;
        }
        QThread::msleep(50);
    }
    return Claim::kUnreached;
}

void SingleInstance::StartServer() {
    const QString name = ServerName(file_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // With the lock ours, a server of that name is left from a game that ended.
    QLocalServer::removeServer(name);
    if (!server_->listen(name)) return;  // later starts then say that they got no answer
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(socket); });
        }
    });
}

void SingleInstance::Answer(QLocalSocket* socket) {
    // Before the window is up, the request waits for it.
    if (!window_ || !socket->canReadLine()) return;
    if (socket->readLine() != kRaiseRequest) {
        socket->disconnectFromServer();
        return;
    }
    RaiseWindow(window_);
    socket->write(kRaisedAnswer);
    socket->flush();
}

void SingleInstance::Listen(QWidget* window) {
    window_ = window;
    if (!server_) return;
    for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>())
        Answer(socket);
}

QString UnguardedText(const QString& file) {
    return QStringLiteral(
               "Casino could not make sure that it is the only game using its records file:\n%1\n\n"
               "If Casino is also running in another window with these records, whichever game "
               "saves last overwrites the other's results.")
        .arg(file);
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
