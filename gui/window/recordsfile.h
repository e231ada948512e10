// What the window tells the player about the records file "kzq.gds", which
// the library keeps in the folder the program runs in: a damaged file that
// the begin request kept aside, and a save that failed. The texts of both
// messages are here too.
#pragma once

#include <QString>
#include <bitset>
#include <string>

#include "wire.h"

using wire::kKeptNames;
using wire::kRecordsFile;

// Tells whether the begin request refused the records file and kept it
// aside. Made just before the request: notes whether the file is there as a
// regular file (or a link to one) and which kept-aside names are taken; after
// the request the file is gone and the first name taken since is the one it
// was kept under.
class KeptAsideCheck {
  public:
    KeptAsideCheck();
    // The full path of the file kept aside since, or empty when none was.
    QString KeptFile() const;

  private:
    bool wasFile_ = false;
    std::bitset<kKeptNames> taken_;
};

// "kzq.gds.bad", "kzq.gds.bad1" ... "kzq.gds.bad999" for 0 ... 999.
QString KeptName(int index);
// The absolute path of the folder the records are kept in.
QString RecordsFolder();
// True when a reply to the save request says that the records were not saved.
bool SaveFailed(const std::string& reply);

// The message after start-up, naming the kept file.
QString KeptAsideText(const QString& keptFile);
// The question after a failed save, naming the folder, and its two answers.
extern const char kSaveFailedCaption[];
QString SaveFailedText(const QString& folder);
extern const char kTryAgain[];
extern const char kExitWithoutSaving[];
