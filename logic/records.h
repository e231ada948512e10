// The player records: game settings and a Hall of Fame of fifteen players in
// one 512-byte block that is, byte for byte, the records file "kzq.gds".
#pragma once

#include <bit>
#include <cstdint>

#include "wire.h"

namespace kzq {

constexpr int kMaxPlayerRecords = 15;
constexpr int kNameSize = 20;  // 19 characters and a NUL
constexpr char kSignature[] = "Kzq(c)2000 Q+V Dorlan 20";
constexpr int kSignatureSize = 24;
using wire::kRecordsFile;

constexpr std::uint8_t kFlagSound = 8;
constexpr std::uint8_t kFlagAnimation = 16;

#pragma pack(push, 1)
struct GameDataHeader {
    char signature[kSignatureSize];
    std::uint8_t delay;
    std::uint8_t backRank;
    std::uint8_t backSuit;
    std::uint8_t slot[2];  // record index of player 1 and player 2
    std::uint8_t numPlayersDefined;
    std::uint8_t sortKey;
    std::uint8_t flags;
};

struct PlayerRecord {
    char name[kNameSize];
    std::int16_t points;
    std::uint16_t played;
    std::uint16_t won;
    std::uint16_t level;
    std::uint32_t reserved;
};

struct GameData {
    GameDataHeader header;
    PlayerRecord records[kMaxPlayerRecords];
};
#pragma pack(pop)

static_assert(sizeof(GameDataHeader) == 32);
static_assert(sizeof(PlayerRecord) == 32);
static_assert(sizeof(GameData) == 512);
static_assert(std::endian::native == std::endian::little, "the records file is little-endian");

// The defaults the library starts with.
void DefaultGameData(GameData& data);
void DefaultRecords(GameData& data);

// What the begin request found of the records file.
enum class RecordsFound : std::uint8_t {
    kNone,          // no such file, or not a regular file
    kLoaded,        // read whole and taken
    kKeptAside,     // read whole, refused, and kept aside
    kUnreadable,    // there, but it could not be opened or read: left in place
    kNotKeptAside,  // read whole and refused, but no kept-aside name was free or
                    // the rename failed: left in place
};
// Whether saves must leave the file alone: it was never read whole, or it is
// a refused file still in place.
inline bool SavesRefused(RecordsFound found) {
    return found == RecordsFound::kUnreadable || found == RecordsFound::kNotKeptAside;
}

// Reads "kzq.gds"; `data` takes it only when the result is kLoaded, and is
// left exactly as it was otherwise. A file read whole and refused is kept
// aside as "kzq.gds.bad" (or .bad1, .bad2 ...) beside the file it stands for.
// Names are made safe for replies (MakeNameSafe). Stale temporary files of
// earlier saves are removed first.
RecordsFound LoadGameData(GameData& data);
// Replaces "kzq.gds" (or the file it links to) safely; false when it was left
// as it was: saves refused after what the begin request `found`, not
// writable, not a regular file, or any step failed. A file the loader would
// refuse is kept aside first, never replaced, and one that cannot be read
// now is never replaced.
bool SaveGameData(const GameData& data, RecordsFound found);

// Replaces each "<", ")" and control character of a name (up to its NUL) by
// '?': a name goes into replies as it stands, closed by ")", and must neither
// end early nor start items of its own.
void MakeNameSafe(char (&name)[kNameSize]);

// Ties a player (by name) to a record, creating or evicting as needed, sets
// the record's level, and stores its index in the player's slot (which = 0 or 1).
void AssignPlayer(GameData& data, const char (&name)[kNameSize], int level, int which);
// Adds a finished game to both players' records.
void RecordGame(GameData& data, int winner, int winnerTotal, int loserTotal);
void ClearScores(GameData& data);
void ResetRecords(GameData& data);

// Hall of Fame order: record indices sorted by the low three bits of the key.
void SortHall(const GameData& data, std::uint8_t order[kMaxPlayerRecords]);

// "%02d%d(%s) %05d %05d %05d" of Hall of Fame row `row` (1-based).
int HallRow(const GameData& data, const std::uint8_t order[kMaxPlayerRecords], int row, char* out,
            int len);
// "%d%d(%s)" for the record in the slot of player `which` (0 or 1).
int PlayerLine(const GameData& data, int which, char* out, int len);

}  // namespace kzq
