// The save request "<W>" wherever the program sends it (a finished game,
// Clear Scores, the way out, the end of the desktop session) and what the
// player is told when the library could not save: the folder, and either a
// choice to try again or, when the records file was left alone at start-up
// because it could not be read or kept aside, why no save can succeed.
#pragma once

#include <QString>
#include <string>

class LogicLink;

// The folder the records are kept in (the program's current folder), absolute.
QString RecordsFolder();

// True when a reply holds the error item with exactly `text` ("<E>" text,
// followed by the next item or the end).
bool HasErrorItem(const std::string& reply, const char* text);
// True when a reply to the save request says that the records were not saved.
bool SaveFailed(const std::string& reply);

// The save request and what it keeps from one save to the next.
class RecordsSaver {
  public:
    explicit RecordsSaver(LogicLink& link) : link_(link) {}

    // Why every save of this session is refused, as told at start-up; empty
    // while saves may succeed.
    void SetSavesRefused(const QString& why) { savesRefused_ = why; }
    // From now on no failed save asks anything (the program is ending on a
    // signal, and no box could be answered).
    void StopAsking() { stopAsking_ = true; }

    // Sends "<W>". When the library could not save and `ask` is true, tells the
    // player: with Try Again (sends it again) or `giveUp`, or, when saves are
    // refused for this session, why. True when the records were saved.
    bool SaveRecords(const QString& giveUp, bool ask = true);

  private:
    LogicLink& link_;
    QString savesRefused_;
    bool stopAsking_ = false;
};

// The question after a failed save, naming the folder, and its answers.
extern const char kSaveFailedCaption[];
QString SaveFailedText(const QString& folder);
extern const char kTryAgain[];
extern const char kExitWithoutSaving[];
extern const char kContinueWithoutSaving[];
// The notice after a save that was refused for this session.
QString SaveRefusedText(const QString& why);
