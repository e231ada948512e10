#include "protocol.h"

#include <cstring>
#include <new>

#include "apply.h"
#include "check.h"
#include "computer.h"
#include "deals.h"
#include "logic.h"
#include "moves.h"
#include "reply.h"

namespace kzq {

const char kVersionBanner[] = "Kzq(c)2000 Q+V Dorlan 2026 - Casino game logic, version 2.1";
static_assert(sizeof kVersionBanner > kSignatureSize);

Logic theLogic;

Logic::Logic() {
    reply.end = 0;
    for (auto& m : ambiguousMoves)
        m = 0;
    cardWeight.Build();
    DefaultGameData(game.data);
    SortHall(game.data, hallOrder);
}

void ResetLogic() {
    // Static storage starts as zeros before the constructor runs; do the same.
    theLogic.~Logic();
    std::memset(static_cast<void*>(&theLogic), 0, sizeof theLogic);
    new (&theLogic) Logic();
}

namespace {

// One request item's parameter text. Characters past its end read as absent.
struct Param {
    const char* text;
    int length;

    char At(int i) const { return i < length ? text[i] : '\0'; }
};

bool Initialized(const Game& g) {
    return g.curPlayer != nullptr;
}

void ClearAmbiguous() {
    for (auto& m : theLogic.ambiguousMoves)
        m = 0;
}

// The handlers of begin, settings, Hall of Fame, the debugging card, a hint
// and a human's move are kept out of line. The dispatcher runs for every
// request, and with these inside it, it would save and restore the
// registers and keep the stack room for buffers that they need on every
// request, the computer's moves too; a human's move pays one call instead,
// beside the move list and the selection it works through.

// Begin: records, columns, seats. A later begin also drops a round in play.
[[gnu::noinline]] bool Begin(Param p) {
    char c = p.At(0);
    if (c < '6' || c > '<') return false;
    Game& g = TheGame();
    // Keeps the block as it was when the file is missing or unsound; a file
    // left in place refuses every save, and the program is told why.
    theLogic.recordsFound = LoadGameData(g.data);
    if (theLogic.recordsFound == RecordsFound::kUnreadable) WriteItem('E', wire::kReadError);
    if (theLogic.recordsFound == RecordsFound::kNotKeptAside) WriteItem('E', wire::kKeepError);
    g.numColumns = c - '0';
    DiscardRound(g);
    ClearAmbiguous();
    for (int which = 0; which < kPlayers; ++which) {
        const PlayerRecord& r = g.data.records[g.data.header.slot[which]];
        Player& player = g.players[which];
        std::memcpy(player.name, r.name, kNameSize);
        player.name[kNameSize - 1] = 0;
        player.level = r.level;
    }
    g.starter = 0;
    g.lastTaker = 0;
    g.curPlayer = &g.players[0];
    return true;
}

void SettingsReport() {
    Game& g = TheGame();
    char line[64];
    for (int which = 0; which < kPlayers; ++which) {
        PlayerLine(g.data, which, line, sizeof line);
        WriteItem('I', line);
    }
    char back[4] = {'0', 0, 0, 0};
    CardText(Card{g.data.header.backRank, g.data.header.backSuit}, back + 1);
    WriteItem('I', back, 3);
    WriteItem('I', (g.data.header.flags & kFlagSound) ? "31" : "30");
    WriteItem('I', (g.data.header.flags & kFlagAnimation) ? "41" : "40");
    WriteItemf('I', "5%d", g.data.header.delay);
}

void SetPlayer(int which, Param p) {
    Game& g = TheGame();
    Player& player = g.players[which];
    char level = p.At(1);
    if (level >= '0' && level <= '9') {
        player.level = level - '0';
    } else {
        WriteItem('E', "Level out of range");
        player.level = 0;
    }
    int n = p.length > 2 ? p.length - 2 : 0;
    if (n > kNameSize - 1) n = kNameSize - 1;
    std::memset(player.name, 0, kNameSize);
    std::memcpy(player.name, p.text + 2, std::size_t(n));
    MakeNameSafe(player.name);  // as names read from the records file
    AssignPlayer(g.data, player.name, player.level, which);
}

void SetFlag(std::uint8_t flag, char value) {
    std::uint8_t& flags = TheGame().data.header.flags;
    flags = value == '0' ? std::uint8_t(flags & ~flag) : std::uint8_t(flags | flag);
}

// Request I: one setting, or the settings report.
[[gnu::noinline]] void Settings(Param p) {
    GameDataHeader& h = TheGame().data.header;
    char sub = p.At(0), value = p.At(1);
    bool hasValue = p.length >= 2;
    switch (sub) {
        case '0': {
            // Only a real design is stored: the records file refuses any other.
            int rank = ParseRank(value);
            if (rank != 0) h.backRank = std::uint8_t(rank);
            h.backSuit = kBack;
            break;
        }
        case '1':
        case '2':
            SetPlayer(sub - '1', p);
            break;
        case '3':
            if (hasValue) SetFlag(kFlagSound, value);
            break;
        case '4':
            if (hasValue) SetFlag(kFlagAnimation, value);
            break;
        case '5':
            if (value >= '0' && value <= '9') h.delay = std::uint8_t(value - '0');
            break;
        case '6':
            if (hasValue) h.sortKey = std::uint8_t(value - '0');
            SortHall(TheGame().data, theLogic.hallOrder);
            break;
        default:
            SettingsReport();
            return;
    }
    RecomputeHidden(TheGame());
}

[[gnu::noinline]] void HallOfFame(Param p) {
    char a = p.At(0), b = p.At(1);
    if (a < '0' || a > '9' || b < '0' || b > '9') {
        WriteItem('E', "ERROR: index out of range");
        return;
    }
    int row = (a - '0') * 10 + (b - '0');
    if (row < 1) {
        ClearScores(TheGame().data);
    } else if (row > kMaxPlayerRecords) {
        WriteItem('E', "ERROR: index out of range");
    } else {
        char text[64];
        int n = HallRow(TheGame().data, theLogic.hallOrder, row, text, sizeof text);
        WriteItem('H', text, n);
    }
}

// Debugging aid: puts one card on a table column or into a hand slot.
[[gnu::noinline]] void PlaceCard(Param p) {
    if (p.length < 4) return;
    Game& g = TheGame();
    int index = p.text[1] - '1';
    Card c = ParseCard(p.text[2], p.text[3]);
    if (!c.IsFace()) return;
    if (p.text[0] == '0') {
        if (index < 0 || index >= g.numColumns) return;
        Stack& s = g.tableau[index];
        std::uint8_t block = s.isBlock;
        s.Clear();
        s.isBlock = block;
        s.numCards = 1;
        s.cards[0] = c;
        s.value = c.rank;
        g.NotePile(index);
    } else if (p.text[0] == '1' || p.text[0] == '2') {
        if (index >= 0 && index < kMaxHand) g.players[p.text[0] - '1'].hand.Set(c, index);
    }
}

int GameNumber(Param p) {
    int k = 0;
    for (int i = 0; i < p.length && p.text[i] >= '0' && p.text[i] <= '9'; ++i) {
        k = k * 10 + (p.text[i] - '0');
        if (k > kMaxGameNumber) k = kMaxGameNumber + 1;  // out of range, and no overflow
    }
    return k;
}

[[gnu::noinline]] void HumanMove(char code, Param p) {
    Game& g = TheGame();
    if (GenerateMoves(g, theLogic.cardWeight) == 0) {
        WriteItem('E', "No moves possible");
        return;
    }
    if (!PlayHumanMove(g, theLogic.ambiguousMoves, p.text, code, p.length))
        WriteItem('E', "HumanMove failed");
}

void ComputerMove() {
    Game& g = TheGame();
    if (GenerateMoves(g, theLogic.cardWeight) == 0) {
        WriteItem('E', "No moves possible");
        return;
    }
    Move best = Move(g.moves[ChooseMove(g.numMoves, g.moves)]);
    PlayMove(g, best, Turn::kComputer);
}

[[gnu::noinline]] void Hint() {
    Game& g = TheGame();
    if (GenerateMoves(g, theLogic.cardWeight) == 0) {
        WriteItem('E', "No moves possible");
        return;
    }
    Move best = Move(g.moves[ChooseMove(g.numMoves, g.moves)]);
    char text[2 + kMaxColumns];
    int n = 0;
    text[n++] = char('1' + g.CurIndex());
    text[n++] = char('1' + MoveSlot(best));
    for (int c = 0; c < kMaxColumns; ++c)
        if (InMask(best, c)) text[n++] = char('1' + c);
    WriteItem('?', text, n);
}

// Runs one item of an initialized library; false when the rest must be ignored.
bool RunItem(char code, Param p) {
    Game& g = TheGame();
    switch (code) {
        case 'B':
            if (!Begin(p)) {
                WriteItem('E', "Error initializing game.");
                return false;
            }
            WriteItem('V', kVersionBanner);
            break;
        case 'V':
            WriteItem('V', kVersionBanner);
            break;
        case 'I':
            Settings(p);
            break;
        case 'Z':
            RequestReseed(theLogic.random);
            break;
        case 'N':
            NewGame(g, theLogic.random, 0);
            break;
        case 'K':
            NewGame(g, theLogic.random, GameNumber(p));
            break;
        case 'R':
            NewRound(g, theLogic.random, 0);
            WriteItem('P', g.CurIndex() == 0 ? "1" : "2");
            ScoreLines(g);
            break;
        case '1':
        case '2':
            HumanMove(code, p);
            break;
        case 'Y':
            PlayMenuAnswer(g, theLogic.cardWeight, theLogic.ambiguousMoves, p.text, p.length);
            break;
        case 'C':
            ComputerMove();
            break;
        case '?':
            Hint();
            break;
        case 'G':
            ScoreLine(g, g.CurIndex());
            break;
        case 'U':
            UnseenCards(g);
            break;
        case 'Q':
            WriteItemf('Q', "MoveNr=%02d", g.moveNr);
            break;
        case 'H':
            HallOfFame(p);
            break;
        case 'W':
            if (!SaveGameData(g.data, theLogic.recordsFound)) WriteItem('E', wire::kSaveError);
            break;
        case '=':
            ResetRecords(g.data);
            break;
        case 'J':
            PlaceCard(p);
            break;
        case '@':
            break;
        default:
            WriteItem('E', "Message code not implemented");
            break;
    }
    return true;
}

void Dispatch(const char* request) {
    const char* s = request;
    for (;;) {
        while (*s && *s != '<')
            ++s;
        if (!*s) return;
        ++s;  // past "<"
        char code = *s;
        if (!code) return;
        if (code >= 'a' && code <= 'z') code = char(code - 'a' + 'A');
        if (code == '/') return;
        ++s;
        if (*s) ++s;  // the separator, not looked at
        Param p{s, 0};
        while (s[p.length] && s[p.length] != '<')
            ++p.length;
        s += p.length;

        if (!Initialized(TheGame())) {
            if (code != 'B') {
                WriteItem('E', "Error: Logic not initialized.");
                return;
            }
            if (!Begin(p)) {
                WriteItem('E', "Error initializing game.");
                return;
            }
            continue;
        }
        if (!RunItem(code, p)) return;
    }
}

}  // namespace

}  // namespace kzq

extern "C" std::int32_t CallTheLogic(const char* request, char* reply) {
    kzq::ReplyReset();
    if (request) kzq::Dispatch(request);
    return kzq::ReplyFinish(reply);
}

// The name the game program looks the entry up by.
extern "C" CASINO_EXPORT std::int32_t _CallTheLogic(const char* request, char* reply)
    __attribute__((alias("CallTheLogic")));
