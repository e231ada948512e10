#include "window/recordsfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "link/saving.h"

namespace {

// Anything at all by that name, a dangling link included: the library never
// keeps a file aside under a name that is taken.
bool Taken(const QByteArray& name) {
    struct stat st;
    return !name.isEmpty() && lstat(name.constData(), &st) == 0;
}

bool IsFile(const QByteArray& name) {
    struct stat st;
    return stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// The system's words for an error, starting in lower case.
QString Reason(int error) {
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

// Why `file` cannot be read now, or empty when it can.
QString WhyNotReadable(const QByteArray& file) {
    const int fd = open(file.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Reason(errno);
    char bytes[512];
    const ssize_t n = read(fd, bytes, sizeof bytes);
    const int error = errno;
    close(fd);
    return n < 0 ? Reason(error) : QString();
}

const char kSessionLost[] =
    "Casino leaves that file as it is and is using the default Hall of Fame and settings for "
    "now. The results of this session will not be kept.";

}  // namespace

QByteArray RecordsTarget() {
    QByteArray path(kRecordsFile);
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = readlink(path.constData(), target, sizeof target);
        if (n <= 0 || n == ssize_t(sizeof target)) break;
        QByteArray next(target, int(n));
        // A relative link counts from the link's own folder.
        if (!next.startsWith('/')) next.prepend(path.left(path.lastIndexOf('/') + 1));
        path = next;
    }
    const int slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
    char real[PATH_MAX];
    if (!realpath(folder.constData(), real)) return path;
    QByteArray file(real);
    if (!file.endsWith('/')) file += '/';
    return file + path.mid(slash + 1);
}

KeptAsideCheck::KeptAsideCheck() {
    // A folder, FIFO or device by that name is not read and so never kept aside.
    path_ = RecordsTarget();
    file_ = QFile::decodeName(path_);
    wasFile_ = IsFile(path_);
    if (!wasFile_) return;
    for (int i = 0; i < kKeptNames; ++i)
        taken_[i] = Taken(Name(i));
}

QByteArray KeptAsideCheck::Name(int index) const {
    char name[PATH_MAX];
    if (!wire::KeptAsideName(name, sizeof name, path_.constData(), index)) return {};
    return name;
}

QString KeptAsideCheck::KeptFile() const {
    if (!wasFile_ || Taken(path_)) return {};
    for (int i = 0; i < kKeptNames; ++i)
        if (!taken_[i] && Taken(Name(i))) return QFile::decodeName(Name(i));
    return {};
}

QString WhyNotWritable() {
    // The library writes a new file beside the one the name stands for (the
    // target of a link) and renames it over that one.
    const QByteArray file = RecordsTarget();
    const QByteArray folder = file.left(std::max<qsizetype>(file.lastIndexOf('/'), 1));
    if (access(folder.constData(), W_OK | X_OK) != 0) return Reason(errno);
    struct stat st;
    if (stat(file.constData(), &st) != 0) return errno == ENOENT ? QString() : Reason(errno);
    if (!S_ISREG(st.st_mode)) return QStringLiteral("%1 is not a file").arg(kRecordsFile);
    // A file that nobody may write is read-only to the library, the superuser's too.
    if ((st.st_mode & 0222) == 0) return QStringLiteral("the file is read-only");
    if (access(file.constData(), W_OK) != 0) return Reason(errno);
    return {};
}

QString StartUpNotice(const std::string& beginReply, const KeptAsideCheck& check) {
    SetSavesRefused({});
    QString refused;
    if (HasErrorItem(beginReply, wire::kReadError)) {
        QString why = WhyNotReadable(check.Path());
        if (why.isEmpty()) why = QStringLiteral("it could not be read when Casino started");
        refused = UnreadableText(check.File(), why);
    } else if (HasErrorItem(beginReply, wire::kKeepError)) {
        refused = NotKeptAsideText(check.File(), check.AllTaken(), WhyNotWritable());
    }
    if (!refused.isEmpty()) {
        SetSavesRefused(refused);
        return refused + QStringLiteral("\n\n") + QString::fromLatin1(kSessionLost);
    }
    const QString kept = check.KeptFile();
    if (!kept.isEmpty()) return KeptAsideText(kept);
    const QString why = WhyNotWritable();
    if (!why.isEmpty()) return UnwritableText(RecordsFolder(), why);
    return {};
}

QString KeptAsideText(const QString& keptFile) {
    return QStringLiteral(
               "Casino could not read its records file %1: the file is damaged or is not a "
               "Casino records file.\n\n"
               "It has been kept, unchanged, as:\n%2\n\n"
               "Casino is using the default Hall of Fame and settings for now. Your results are "
               "saved in a new %1.")
        .arg(QString::fromLatin1(kRecordsFile), keptFile);
}

QString UnreadableText(const QString& file, const QString& why) {
    return QStringLiteral("Casino's records file could not be read: %1.\n\nThe file is:\n%2")
        .arg(why, file);
}

QString NotKeptAsideText(const QString& file, bool allTaken, const QString& why) {
    const QString base = QFileInfo(file).fileName();
    const QString because =
        allTaken ? QStringLiteral(
                       "the names %1.bad, %1.bad1 … %1.bad999 in that folder are all "
                       "taken")
                       .arg(base)
        : why.isEmpty() ? QStringLiteral("it could not be renamed")
                        : QStringLiteral("it could not be renamed: %1").arg(why);
    return QStringLiteral(
               "Casino's records file is damaged or is not a Casino records file, and it could "
               "not be kept aside because %1.\n\nThe file is:\n%2\n\nMove away some of the kept "
               "files in its folder, or the damaged file itself.")
        .arg(because, file);
}

QString UnwritableText(const QString& folder, const QString& why) {
    return QStringLiteral(
               "Casino cannot save its records (the Hall of Fame and your game settings) in this "
               "folder:\n%1\n\nThe reason: %2.\n\n"
               "You can play, but the results of this session will not be kept unless this is "
               "fixed before you exit (for example by making the folder and the file %3 "
               "writable).")
        .arg(folder, why, QString::fromLatin1(kRecordsFile));
}
