// What the window tells the player at start-up about the records file
// "kzq.gds", which the library keeps in the folder the program runs in: a
// damaged file that the begin request kept aside; a file it left in place
// because it could not read it, or could not keep it aside (every save of
// the session is then refused); and a folder or file the records cannot be
// saved to. The texts of these notices are here too.
#pragma once

#include <QByteArray>
#include <QString>
#include <bitset>
#include <string>

#include "wire.h"

using wire::kKeptNames;
using wire::kRecordsFile;

// Tells whether the begin request refused the records file and kept it
// aside. Made just before the request: notes which file the name stands for
// (the target of a link, which is kept aside in its own folder) and which
// kept-aside names beside it are taken; after the request the file is gone
// and the first name taken since is the one it was kept under.
class KeptAsideCheck {
  public:
    KeptAsideCheck();
    // The full path of the file kept aside since, or empty when none was.
    QString KeptFile() const;
    // The file the records file's name stood for, absolute.
    QString File() const { return file_; }
    // The same in the system's bytes.
    const QByteArray& Path() const { return path_; }
    // True when every kept-aside name was taken.
    bool AllTaken() const { return wasFile_ && taken_.all(); }

  private:
    QByteArray Name(int index) const;

    QByteArray path_;  // the file as the system names it
    QString file_;
    bool wasFile_ = false;
    std::bitset<kKeptNames> taken_;
};

// The absolute path of the file that the records file's name stands for
// (the end of its links, which may not exist), in the system's own bytes,
// whatever their encoding.
QByteArray RecordsTarget();

// Why the records cannot be saved where they are kept (the folder takes no
// new file, or the records file cannot be replaced), in a few words such as
// "permission denied"; empty when nothing stands in the way.
QString WhyNotWritable();

// What the player is told once the window is up, after the begin request
// answered `beginReply` (empty when there is nothing to tell). Also tells the
// save request's messages when every save of the session will be refused.
QString StartUpNotice(const std::string& beginReply, const KeptAsideCheck& check);

// The notices' texts.
QString KeptAsideText(const QString& keptFile);
QString UnreadableText(const QString& file, const QString& why);
QString NotKeptAsideText(const QString& file, bool allTaken, const QString& why);
QString UnwritableText(const QString& folder, const QString& why);
