#include "records.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "cards.h"
#include "check.h"
#include "files.h"

namespace kzq {

namespace {

struct DefaultRecord {
    const char* name;
    std::int16_t points;
    std::uint16_t played;
    std::uint16_t won;
};

// Initials A to O in record order; the lengths matter (the longest fills the field).
constexpr DefaultRecord kDefaults[kMaxPlayerRecords] = {
    {"Alice Brown", -12, 30, 15},   {"Benjamin Cox", 14, 28, 14},  {"Clara Dunn", -10, 26, 13},
    {"Dorothy Fenton", 16, 24, 12}, {"Emma Grant", -8, 22, 11},    {"Frederick Hollis", 18, 20, 10},
    {"Gregory Ingleby", -6, 18, 9}, {"Henry Jackson", 20, 16, 8},  {"Isabella Kingsley", -4, 14, 7},
    {"James Lawson", 22, 12, 6},    {"Katie Moore", -2, 20, 10},   {"Leo Nugent", 24, 38, 19},
    {"Margaret Owens", 0, 6, 3},    {"Nathaniel Price", 26, 4, 2}, {"Olivia Quartermaine", 2, 2, 1},
};

// Copies at most 19 characters and zero-fills the rest of the field.
void SetName(char (&field)[kNameSize], const char* name) {
    std::memset(field, 0, kNameSize);
    for (int i = 0; i < kNameSize - 1 && name[i]; ++i)
        field[i] = name[i];
}

bool Sound(const GameData& data) {
    const GameDataHeader& h = data.header;
    if (std::memcmp(h.signature, kSignature, kSignatureSize) != 0) return false;
    if (h.delay > 9) return false;
    if (h.backRank < 1 || h.backRank > 13 || h.backSuit < 1 || h.backSuit > 5) return false;
    if (h.numPlayersDefined > kMaxPlayerRecords) return false;
    // Both players may sit in one record: the records support it.
    if (h.slot[0] >= h.numPlayersDefined || h.slot[1] >= h.numPlayersDefined) return false;
    return true;
}

enum class Found { kNone, kSound, kUnsound, kUnreadable };

// Temporary files younger than this may belong to a save in progress.
constexpr long kStaleSeconds = 10 * 60;

// Reads and checks the records file. kNone: no such file, or not a regular
// file; kSound: `data` holds it, with byte 19 of every name 0 and the names
// made safe; kUnsound: a regular file of the wrong size, or read whole and
// refused (`id` names it); kUnreadable: it could not be opened or read.
Found ReadRecordsFile(GameData& data, FileId& id) {
    int fd = -1;
    switch (OpenRegularFile(kRecordsFile, fd, id)) {
        case Opened::kAbsent:
            return Found::kNone;
        case Opened::kUnreadable:
            return Found::kUnreadable;
        case Opened::kFile:
            break;
    }
    const off_t size = FileSize(fd);
    bool read = size == off_t(sizeof data) && ReadAt(fd, &data, sizeof data, 0);
    CloseFile(fd);
    if (size < 0 || (size == off_t(sizeof data) && !read)) return Found::kUnreadable;
    if (!read || !Sound(data)) return Found::kUnsound;
    for (PlayerRecord& r : data.records) {
        r.name[kNameSize - 1] = 0;
        if (r.reserved != 0 || r.level > 9 || r.won > r.played) return Found::kUnsound;
        MakeNameSafe(r.name);
    }
    return Found::kSound;
}

}  // namespace

void DefaultRecords(GameData& data) {
    for (int i = 0; i < kMaxPlayerRecords; ++i) {
        PlayerRecord& r = data.records[i];
        SetName(r.name, kDefaults[i].name);
        r.points = kDefaults[i].points;
        r.played = kDefaults[i].played;
        r.won = kDefaults[i].won;
        r.level = 0;
        r.reserved = 0;
    }
}

void DefaultGameData(GameData& data) {
    GameDataHeader& h = data.header;
    std::memcpy(h.signature, kSignature, kSignatureSize);
    h.delay = 0;
    h.backRank = 2;
    h.backSuit = kBack;
    h.slot[0] = 0;
    h.slot[1] = 1;
    h.numPlayersDefined = kMaxPlayerRecords;
    h.sortKey = 0;
    h.flags = 0;
    DefaultRecords(data);
}

void MakeNameSafe(char (&name)[kNameSize]) {
    for (char& c : name) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b == 0) break;
        if (b == '<' || b == ')' || b < 0x20 || b == 0x7F) c = '?';
    }
}

RecordsFound LoadGameData(GameData& data) {
    RemoveStaleTemporaries(kRecordsFile, kStaleSeconds,
                           SaveLeftover{kSignature, kSignatureSize, off_t(sizeof(GameData))});
    GameData loaded;
    FileId id;
    switch (ReadRecordsFile(loaded, id)) {
        case Found::kNone:
            return RecordsFound::kNone;
        case Found::kSound:
            data = loaded;
            return RecordsFound::kLoaded;
        case Found::kUnreadable:
            return RecordsFound::kUnreadable;
        case Found::kUnsound:
            break;
    }
    // A refused file is moved out of the way before any save can replace it.
    return KeepAside(kRecordsFile, id) ? RecordsFound::kKeptAside : RecordsFound::kNotKeptAside;
}

bool SaveGameData(const GameData& data, RecordsFound found) {
    if (SavesRefused(found) || !MayReplace(kRecordsFile)) return false;
    // A file that is there now but would be refused (put there after the
    // begin request) is kept too, and one that cannot be read is left alone.
    GameData old;
    FileId id;
    switch (ReadRecordsFile(old, id)) {
        case Found::kUnreadable:
            return false;
        case Found::kUnsound:
            if (!KeepAside(kRecordsFile, id)) return false;
            break;
        default:
            break;
    }
    return ReplaceFile(kRecordsFile, &data, sizeof data);
}

void AssignPlayer(GameData& data, const char (&name)[kNameSize], int level, int which) {
    GameDataHeader& h = data.header;
    int other = h.slot[1 - which];
    int index = -1;
    for (int i = 0; i < h.numPlayersDefined; ++i) {
        if (std::strncmp(data.records[i].name, name, kNameSize) == 0) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        if (h.numPlayersDefined == kMaxPlayerRecords) {
            // Evict the weakest record, but never the one the other player sits in.
            KZQ_CHECK(h.numPlayersDefined > 0, "numPlayersDefined>0", 792);
            int victim = -1;
            for (int i = 0; i < h.numPlayersDefined; ++i) {
                if (i == other) continue;
                if (victim < 0 || data.records[i].points < data.records[victim].points) victim = i;
            }
            int last = --h.numPlayersDefined;
            if (victim != last) {
                data.records[victim] = data.records[last];
                if (other == last) h.slot[1 - which] = std::uint8_t(victim);
            }
        }
        index = h.numPlayersDefined;
        KZQ_CHECK(index < kMaxPlayerRecords, "index<kMaxPlayerRecords", 824);
        PlayerRecord& r = data.records[index];
        SetName(r.name, name);
        r.points = 0;
        r.played = 0;
        r.won = 0;
        r.reserved = 0;
        ++h.numPlayersDefined;
    }
    data.records[index].level = std::uint16_t(level);
    h.slot[which] = std::uint8_t(index);
}

void RecordGame(GameData& data, int winner, int winnerTotal, int loserTotal) {
    KZQ_CHECK((winner == 0) || (winner == 1), "(winner==0)||(winner==1)", 856);
    struct Update {
        int index;
        int add;
    } updates[2] = {{data.header.slot[winner], winnerTotal},
                    {data.header.slot[1 - winner], loserTotal - winnerTotal}};
    for (const Update& u : updates) {
        PlayerRecord& r = data.records[u.index];
        // Points stop at the ends of their 16-bit range: wrapping would turn
        // the leader's points into the lowest. The counts stop at their
        // largest value: wrapping would leave won above played, and the
        // records file would then be refused and lost.
        r.points = std::int16_t(std::clamp(r.points + u.add, INT16_MIN, INT16_MAX));
        if (r.played < 0xFFFF) ++r.played;
        if (u.add > 0 && r.won < r.played) ++r.won;
    }
}

void ClearScores(GameData& data) {
    for (PlayerRecord& r : data.records)
        r.points = 0, r.played = 0, r.won = 0;
}

void ResetRecords(GameData& data) {
    DefaultRecords(data);
}

namespace {

double Percent(const PlayerRecord& r) {
    return r.played ? r.won * 100.0 / r.played : 0.0;
}
double PerGame(const PlayerRecord& r) {
    return r.played ? double(r.points) / r.played : 0.0;
}

// Negative when a belongs before b.
int Compare(int key, const PlayerRecord& a, const PlayerRecord& b) {
    switch (key) {
        case 1:
            return std::strncmp(a.name, b.name, kNameSize);
        case 3:
            return b.won - a.won;
        case 4:
            return (a.played - a.won) - (b.played - b.won);
        case 5:
            return b.played - a.played;
        case 6:
            return int((Percent(b) - Percent(a)) * 100);
        case 7:
            return int((PerGame(b) - PerGame(a)) * 100);
        default:
            return b.points - a.points;  // keys 0 and 2
    }
}

}  // namespace

void SortHall(const GameData& data, std::uint8_t order[kMaxPlayerRecords]) {
    int key = data.header.sortKey & 7;
    for (int i = 0; i < kMaxPlayerRecords; ++i)
        order[i] = std::uint8_t(i);
    // Insertion sort: safe with a comparison that is not transitive (keys 6 and 7).
    for (int i = 1; i < kMaxPlayerRecords; ++i) {
        std::uint8_t x = order[i];
        int j = i;
        while (j > 0 && Compare(key, data.records[x], data.records[order[j - 1]]) < 0) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = x;
    }
}

int HallRow(const GameData& data, const std::uint8_t order[kMaxPlayerRecords], int row, char* out,
            int len) {
    const PlayerRecord& r = data.records[order[row - 1]];
    return std::snprintf(out, std::size_t(len), "%02d%d(%.19s) %05d %05d %05d", row, r.level,
                         r.name, r.points, r.played, r.won);
}

int PlayerLine(const GameData& data, int which, char* out, int len) {
    KZQ_CHECK(len >= 64, "len>=64", 643);
    const PlayerRecord& r = data.records[data.header.slot[which]];
    return std::snprintf(out, std::size_t(len), "%d%d(%.19s)", which + 1, r.level, r.name);
}

}  // namespace kzq
