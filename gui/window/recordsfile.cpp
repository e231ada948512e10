#include "window/recordsfile.h"

#include <QDir>
#include <QFileInfo>

const char kSaveFailedCaption[] = "Casino: Records Not Saved";
const char kTryAgain[] = "Try Again";
const char kExitWithoutSaving[] = "Exit Without Saving";

namespace {

// The library's item when it could not write the records file.
const std::string kSaveItem = std::string("<E>") + wire::kSaveError;

// Anything at all by that name, a dangling link included: the library never
// keeps a file aside under a name that is taken.
bool Taken(const QString& name) {
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

}  // namespace

QString KeptName(int index) {
    char name[64];
    if (!wire::KeptAsideName(name, sizeof name, kRecordsFile, index)) return {};
    return QString::fromLatin1(name);
}

KeptAsideCheck::KeptAsideCheck() {
    // A folder, FIFO or device by that name is not read and so never kept aside.
    wasFile_ = QFileInfo(QString::fromLatin1(kRecordsFile)).isFile();
    if (!wasFile_) return;
    for (int i = 0; i < kKeptNames; ++i)
        taken_[i] = Taken(KeptName(i));
}

QString KeptAsideCheck::KeptFile() const {
    if (!wasFile_ || Taken(QString::fromLatin1(kRecordsFile))) return {};
    for (int i = 0; i < kKeptNames; ++i)
        if (!taken_[i] && Taken(KeptName(i))) return QDir::current().absoluteFilePath(KeptName(i));
    return {};
}

QString RecordsFolder() {
    return QDir::current().absolutePath();
}

bool SaveFailed(const std::string& reply) {
    const std::size_t at = reply.find(kSaveItem);
    if (at == std::string::npos) return false;
    // The whole item: the next item or the end of the reply follows.
    const std::size_t end = at + kSaveItem.size();
    return end == reply.size() || reply[end] == '<';
}

QString KeptAsideText(const QString& keptFile) {
    return QStringLiteral(
               "Casino could not read its records file %1: the file is damaged or is not a "
               "Casino records file.\n\n"
               "It has been kept, unchanged, as:\n%2\n\n"
               "Casino is using the default Hall of Fame and settings for now. When you exit, "
               "your results are saved in a new %1.")
        .arg(QString::fromLatin1(kRecordsFile), keptFile);
}

QString SaveFailedText(const QString& folder) {
    return QStringLiteral(
               "Casino could not save the Hall of Fame and your game settings.\n\n"
               "They belong in the file %1 in this folder:\n%2\n\n"
               "Please make sure that the folder and the file can be written to and that the "
               "disk is not full, then choose %3.\n\n"
               "If you exit without saving, the results and settings of this session are lost. "
               "The records saved before stay as they were.")
        .arg(QString::fromLatin1(kRecordsFile), folder, QString::fromLatin1(kTryAgain));
}
