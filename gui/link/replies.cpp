#include "link/replies.h"

#include <QThread>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "dialogs/ambiguous.h"
#include "dialogs/boxes.h"
#include "link/operations.h"
#include "link/saving.h"
#include "link/selection.h"
#include "table/movetext.h"
#include "table/tableview.h"

const char kNoRoomText[] =
    "There is no room on the table.  This card will be sent to your Capture Pile.";
const char kContinueCaption[] = "Continue Game";
const char kContinueText[] = "Neither player has reached 21 points.  Continue playing?";
const char kNewGameCaption[] = "New Game";

namespace {

// Reads an item's parameters. It never steps past the reply's terminating
// zero, so a short item reads zeros instead of what lies beyond the reply.
class Cursor {
  public:
    Cursor(const ReplyBuffer& reply, int pos) : reply_(reply), pos_(pos) {}

    int Pos() const { return pos_; }
    char Peek() const { return reply_[pos_]; }
    bool AtEnd() const { return Peek() == '\0'; }
    char Take() {
        const char c = Peek();
        if (c != '\0') ++pos_;
        return c;
    }
    void Skip(int count) {
        for (int i = 0; i < count; ++i)
            Take();
    }
    // One digit, as its value.
    int Digit() { return Take() - '0'; }
    int TwoDigits() {
        const int tens = Digit();
        return tens * 10 + Digit();
    }
    // The characters up to the next "<" or the terminator.
    std::string TextToNextItem() {
        std::string text;
        while (!AtEnd() && Peek() != '<')
            text += Take();
        return text;
    }
    // A name up to ")" or the terminator, keeping its first 20 characters; steps past ")".
    std::string BracketedName() {
        std::string name;
        while (!AtEnd() && Peek() != ')') {
            const char c = Take();
            if (int(name.size()) < kMaxNameLength) name += c;
        }
        if (Peek() == ')') Take();
        return name;
    }
    // A signed decimal number: characters that are neither digits nor "-" are
    // skipped, then an optional "-" and the digits after it. Saturates instead of overflowing.
    int SignedNumber() {
        while (!AtEnd() && Peek() != '-' && !IsDigit(Peek()))
            Take();
        const bool negative = Peek() == '-';
        if (negative) Take();
        std::int64_t value = 0;
        while (IsDigit(Peek())) {
            value = std::min<std::int64_t>(value * 10 + (Take() - '0'), INT32_MAX);
        }
        return int(negative ? -value : value);
    }

  private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    const ReplyBuffer& reply_;
    int pos_;
};

// Item "H": one Hall of Fame row.
void HallOfFameRow(Cursor& in) {
    const int rank = in.TwoDigits();
    CheckRange(rank, 1, kHallRows, "Hall of Fame rank");
    HallRow row;
    in.Skip(2);  // the level digit and "("
    row.name = in.BracketedName();
    row.points = in.SignedNumber();
    row.played = in.SignedNumber();
    row.won = in.SignedNumber();
    row.lost = row.played - row.won;
    if (row.played >= 1) {
        row.percentWon = double(row.won) / double(row.played) * 100.0;
        row.pointsPerGame = double(row.points) / double(row.played);
    }
    hallOfFame[rank] = row;
}

// Item "I": one setting as the library reports it.
void SettingsItem(Cursor& in) {
    switch (in.Take()) {
        case '0':
            settings.backRank = in.Take();
            settings.backSuit = in.Take();
            break;
        case '1':
            in.Skip(2);  // the level digit, which is not applied, and "("
            settings.player1Name = in.BracketedName();
            break;
        case '2':
            settings.player2Level = std::clamp(in.Digit(), 1, kMaxLevel);
            in.Skip(1);  // "("
            settings.player2Name = in.BracketedName();
            break;
        case '3':
            settings.sound = in.Take() == '1';
            break;
        case '4':
            settings.animation = in.Take() == '1';
            break;
        case '5':
            settings.delaySetting = in.Digit();
            break;
        default:
            break;
    }
}

// Item "M" at the end of a round: 49 no winner yet, 50 player 1 won, 51 player 2 won.
// A question declined sends nothing: the computer's move that the round's
// last player item left waiting is dropped, and the table says how to go on.
void EndOfRound(int code, int total1, int total2) {
    ShowRoundTotals(total1, total2);
    ShowTurn(0);
    if (code == 49) {
        if (!ShowConfirmBox(QString::fromLatin1(kContinueCaption),
                            QString::fromLatin1(kContinueText))) {
            DropFollowUp();
            SetTableNote(StoppedNote(total1, total2));
            return;
        }
        ClearTable();
        RequestBuffer buffer;
        MakeMessage('R', buffer);
        SendToLogic(buffer);
        return;
    }
    // The finished game is in the records now: saved before the question, so
    // that at most the game in progress can be lost.
    SaveRecords(QString::fromLatin1(kContinueWithoutSaving));
    const bool first = code == 50;
    const QString text = WireToText(first ? settings.player1Name : settings.player2Name) +
                         QStringLiteral(" has won the game with ") +
                         QString::number(first ? total1 : total2) +
                         QStringLiteral(" points.  Play again?");
    if (ShowConfirmBox(QString::fromLatin1(kNewGameCaption), text)) {
        StartNewGame();
        return;
    }
    DropFollowUp();
    SetTableNote(GameOverNote(first ? 1 : 2, total1, total2));
}

static_assert(int(kBuildChoice) == TAmbiguous::kBuild && int(kTakeChoice) == TAmbiguous::kTake &&
              int(kBlockChoice) == TAmbiguous::kBlock && int(kPutChoice) == TAmbiguous::kPut);

// True when menu `code` offers `choice`: Put always, Build, Take and Block by
// the bits 1, 2 and 4 of the code.
bool MenuOffers(int code, int choice) {
    const int bits[] = {0, 1, 2, 4, 8};
    return choice >= kBuildChoice && choice <= kPutChoice && (code & bits[choice]) != 0;
}

// Item "M": a move menu or the end of a round. A menu is answered by
// `answer` when it offers that kind, else by the player in Choose Action.
void MenuItem(Cursor& in, RequestBuffer& buffer, int answer) {
    const int code = in.TwoDigits();
    switch (code) {
        case 8:
        case 11:
        case 13:
        case 14:
        case 15: {
            const int choice = MenuOffers(code, answer) ? answer : ChooseAction(code);
            if (choice == 0) ClearSelection();
            MakeMessage('Y', buffer);
            AddDigit(choice, buffer);
            SendToLogic(buffer);
            break;
        }
        case 49:
        case 50:
        case 51: {
            const int total1 = in.TwoDigits();
            const int total2 = in.TwoDigits();
            EndOfRound(code, total1, total2);
            break;
        }
        default:
            break;  // the library sends no other menu
    }
}

// Item "P": the player to move.
void PlayerToMove(Cursor& in, RequestBuffer& buffer) {
    SetCurrentPlayer(in.Digit());
    if (playerIsComputer[CurrentPlayer()] == 1) MakeMessage('C', buffer);
    ShowTurn(CurrentPlayer());
    ClearSelection();
}

// Runs the handler of one item, reading its parameters from `in`; false when
// the code has no handler.
bool HandleItem(char code, Cursor& in, RequestBuffer& buffer, int menuAnswer) {
    switch (code) {
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5': {
            const int column = in.Digit();
            const int depth = in.Digit();
            const char rank = in.Take();
            const char suit = in.Take();
            DisplayCard(code - '0', column, depth, CardPicture(rank, suit), kShow);
            return true;
        }
        case 'A': {
            if (!settings.animation) {
                in.Skip(8);
                return true;
            }
            const int fromArea = in.Digit();
            const int toArea = in.Digit();
            const char rank = in.Take();
            const char suit = in.Take();
            const int fromColumn = in.Digit();
            const int fromDepth = in.Digit();
            const int toColumn = in.Digit();
            const int toDepth = in.Digit();
            AnimateCard(fromArea, toArea, CardPicture(rank, suit), fromColumn, fromDepth, toColumn,
                        toDepth);
            return true;
        }
        case 'D': {
            const int steps = in.Digit();
            const int ms = steps * settings.delayUnit;
            if (ms > 0) QThread::msleep(unsigned(ms));
            return true;
        }
        case 'E': {
            const std::string text = in.TextToNextItem();
            if (debugFlag)
                ShowMessage(QStringLiteral("ERROR MESSAGE RECEIVED FROM LOGIC: ") +
                            WireToText(text));
            return true;
        }
        case 'F':
            // The player is told before the card goes; the computer's move
            // says it in its words.
            in.TextToNextItem();
            if (playerIsComputer[CurrentPlayer()] != 1)
                ShowMessage(QString::fromLatin1(kNoRoomText));
            return true;
        case 'G': {
            const int player = in.Digit();
            ScoreRecord record;
            record.aces = in.Digit();
            record.twoSpades = in.Digit();
            record.tenDiamonds = in.Digit();
            record.sweeps = in.TwoDigits();
            record.spades = in.TwoDigits();
            record.cards = in.TwoDigits();
            record.points = in.TwoDigits();
            scores[player] = record;
            ShowScores(player, record);
            return true;
        }
        case 'H':
            HallOfFameRow(in);
            return true;
        case 'I':
            SettingsItem(in);
            return true;
        case 'M':
            MenuItem(in, buffer, menuAnswer);
            return true;
        case 'P':
            PlayerToMove(in, buffer);
            return true;
        case 'Q':
        case 'V':
            in.TextToNextItem();
            return true;
        case 'T': {
            const int column = in.Digit();
            DrawTag(column, in.Take());
            return true;
        }
        case 'U': {
            const char suit = in.Take();
            int mask = 0;
            for (int i = 0; i < 4; ++i)
                mask = mask * 10 + in.Digit();
            ShowRemainingCards(suit, mask);
            return true;
        }
        case '?': {
            const int player = in.Digit();
            const int slot = in.Digit();
            std::vector<int> columns;
            while (!in.AtEnd() && in.Peek() != '<')
                columns.push_back(in.Digit());
            OfferHint(player, slot, columns, buffer);
            return true;
        }
        default:
            return false;
    }
}

const char kGoOn[] = "  New Game (F2) starts a new game.";

QString Points(int total) {
    return QString::number(total) +
           (total == 1 ? QStringLiteral(" point") : QStringLiteral(" points"));
}

}  // namespace

QString StoppedNote(int total1, int total2) {
    return QStringLiteral("Game stopped: ") + WireToText(settings.player1Name) +
           QStringLiteral(" has ") + Points(total1) + QStringLiteral(", ") +
           WireToText(settings.player2Name) + QStringLiteral(" has ") + Points(total2) +
           QStringLiteral(".") + QString::fromLatin1(kGoOn);
}

QString GameOverNote(int winner, int total1, int total2) {
    const bool first = winner == 1;
    return WireToText(first ? settings.player1Name : settings.player2Name) +
           QStringLiteral(" won the game ") + QString::number(first ? total1 : total2) +
           QStringLiteral(" to ") + QString::number(first ? total2 : total1) + QStringLiteral(".") +
           QString::fromLatin1(kGoOn);
}

MoveContext MoveContextNow() {
    MoveContext context;
    context.names[1] = settings.player1Name;
    context.names[2] = settings.player2Name;
    context.sweeps[1] = scores[1].sweeps;
    context.sweeps[2] = scores[2].sweeps;
    for (int column = 1; column <= kNumColumns; ++column)
        context.bottomRank[column] =
            table.pileDepth[0][column] > 0 ? PictureRank(table.pileCards[column][1]) : 0;
    return context;
}

void ProcessMessage(const ReplyBuffer& reply, RequestBuffer& buffer, int menuAnswer) {
    // A move's reply leaves the places it touched marked and its words on the
    // table: the computer's move until the player acts, the player's own while
    // the computer thinks (up to the end of the pause after its reveal). They
    // are shown once the move is drawn, before any question at the end of a round.
    const std::string text = BufferText(reply);
    const QString words = DescribeMove(text, MoveContextNow());
    bool marking = !words.isEmpty();
    // The player's first move of a game: the note on how to move has served.
    if (marking && !IsComputerMove(text) && TableNote() == QLatin1String(kFirstTurnNote))
        SetTableNote(QString());
    if (marking) BeginMoveMarks();
    const auto showMarks = [&] {
        if (marking) ShowMoveMarks(words);
        marking = false;
    };

    int p = 0;
    for (;;) {
        if (reply[p] == '\0') return showMarks();
        while (reply[p] != '<' && reply[p] != '\0')
            ++p;
        if (reply[p] == '\0') {
            showMarks();
            ShowMessage(QStringLiteral("Process Message Error: No <"));
            return;
        }
        const char code = reply[p + 1];
        if (reply[p + 2] != '>') {
            showMarks();
            ShowMessage(QStringLiteral("Process Message Error: No >"));
            return;
        }
        p += 3;
        int next = p;
        while (reply[next] != '<' && reply[next] != '\0')
            ++next;
        const bool last = reply[next] == '\0';
        if (code == '/') return showMarks();
        if (code == 'M') showMarks();
        Cursor in(reply, p);
        if (HandleItem(code, in, buffer, menuAnswer))
            p = in.Pos();
        else
            ShowMessage(QStringLiteral("Unknown Message Type: ") + QChar::fromLatin1(code));
        if (marking && code == 'D') ClearMoveMarks();  // the move is about to be drawn
        if (last) return showMarks();
    }
}
