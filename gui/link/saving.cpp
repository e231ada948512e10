#include "link/saving.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <climits>

#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "wire.h"

const char kSaveFailedCaption[] = "Casino: Records Not Saved";
const char kTryAgain[] = "Try Again";
const char kExitWithoutSaving[] = "Exit Without Saving";
const char kContinueWithoutSaving[] = "Continue Without Saving";

namespace {

QString savesRefused;
bool stopAsking = false;

}  // namespace

QString RecordsFolder() {
    // The system's own name of the current folder, whatever its bytes; a
    // folder removed meanwhile is still named, as "<path> (deleted)".
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/cwd", path, sizeof path);
    if (n <= 0 || n == ssize_t(sizeof path)) return QDir::current().absolutePath();
    QByteArray folder(path, int(n));
    struct stat st;
    const QByteArray deleted(" (deleted)");
    if (folder.endsWith(deleted) && stat(".", &st) == 0 && st.st_nlink == 0)
        folder.chop(deleted.size());
    return QFile::decodeName(folder);
}

bool HasErrorItem(const std::string& reply, const char* text) {
    const std::string item = std::string("<E>") + text;
    for (std::size_t at = reply.find(item); at != std::string::npos;
         at = reply.find(item, at + 1)) {
        // The whole item: the next item or the end of the reply follows.
        const std::size_t end = at + item.size();
        if (end == reply.size() || reply[end] == '<') return true;
    }
    return false;
}

bool SaveFailed(const std::string& reply) {
    return HasErrorItem(reply, wire::kSaveError);
}

void StopAsking() {
    stopAsking = true;
}

void SetSavesRefused(const QString& why) {
    savesRefused = why;
}

bool SaveRecords(const QString& giveUp, bool ask) {
    for (;;) {
        RequestBuffer buffer;
        MakeMessage('W', buffer);
        SendToLogic(buffer);
        if (!SaveFailed(LastReply())) return true;
        if (!ask || stopAsking) return false;
        if (!savesRefused.isEmpty()) {
            // Trying again cannot help: the library leaves the file alone
            // until the program starts again.
            ShowMessage(SaveRefusedText(savesRefused));
            return false;
        }
        if (!ShowRetryBox(QString::fromLatin1(kSaveFailedCaption), SaveFailedText(RecordsFolder()),
                          QString::fromLatin1(kTryAgain), giveUp))
            return false;
    }
}

QString SaveFailedText(const QString& folder) {
    return QStringLiteral(
               "Casino could not save the Hall of Fame and your game settings.\n\n"
               "They belong in the file %1 in this folder:\n%2\n\n"
               "Please make sure that the folder and the file can be written to and that the "
               "disk is not full, then choose %3.\n\n"
               "If you go on without saving, the results and settings since the last save are "
               "lost when you exit. The records saved before stay as they were.")
        .arg(QString::fromLatin1(wire::kRecordsFile), folder, QString::fromLatin1(kTryAgain));
}

QString SaveRefusedText(const QString& why) {
    return QStringLiteral(
               "Casino did not save the Hall of Fame and your game settings.\n\n%1\n\n"
               "Casino leaves that file as it is, so the results of this session are not kept. "
               "Start Casino again once this is fixed.")
        .arg(why);
}
