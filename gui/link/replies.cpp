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

using Cursor = wire::ReplyCursor;

// Item "H": one Hall of Fame row.
void HallOfFameRow(GameMirror& m, Cursor& in) {
    const int rank = in.TwoDigits();
    CheckRange(rank, 1, kHallRows, "Hall of Fame rank");
    HallRow row;
    in.Skip(2);  // the level digit and "("
    row.name = std::string(in.BracketedName(kMaxNameLength));
    row.points = in.SignedNumber();
    row.played = in.SignedNumber();
    row.won = in.SignedNumber();
    row.lost = row.played - row.won;
    if (row.played >= 1) {
        row.percentWon = double(row.won) / double(row.played) * 100.0;
        row.pointsPerGame = double(row.points) / double(row.played);
    }
    m.hallOfFame[rank] = row;
}

// Item "I": one setting as the library reports it.
void SettingsItem(GameMirror& m, Cursor& in) {
    switch (in.Take()) {
        case '0':
            m.settings.backRank = in.Take();
            m.settings.backSuit = in.Take();
            break;
        case '1':
            in.Skip(2);  // the level digit, which is not applied, and "("
            m.settings.player1Name = std::string(in.BracketedName(kMaxNameLength));
            break;
        case '2':
            m.settings.player2Level = std::clamp(in.Digit(), 1, kMaxLevel);
            in.Skip(1);  // "("
            m.settings.player2Name = std::string(in.BracketedName(kMaxNameLength));
            break;
        case '3':
            m.settings.sound = in.Take() == '1';
            break;
        case '4':
            m.settings.animation = in.Take() == '1';
            break;
        case '5':
            m.settings.delaySetting = in.Digit();
            break;
        default:
            break;
    }
}

// Item "M" at the end of a round: 49 no winner yet, 50 player 1 won, 51 player 2 won.
// A question declined sends nothing: the computer's move that the round's
// last player item left waiting is dropped, and the table says how to go on.
void EndOfRound(GameMirror& m, LogicLink& link, RecordsSaver& saver, TableView& view, int code,
                int total1, int total2, FollowUps& next) {
    view.ShowRoundTotals(total1, total2);
    view.ShowTurn(0);
    if (code == 49) {
        if (!ShowConfirmBox(view, QString::fromLatin1(kContinueCaption),
                            QString::fromLatin1(kContinueText), std::nullopt,
                            TotalsWords(m.settings, total1, total2))) {
            next.DropAfterReply();
            view.SetTableNote(StoppedNote(m.settings, total1, total2));
            return;
        }
        view.ClearTable();
        RequestBuffer buffer;
        MakeMessage('R', buffer);
        next.Send(buffer);
        return;
    }
    next.Then([&m, &link, &saver, &view, code, total1, total2](FollowUps& then) {
        // The finished game is in the records now: saved before the question,
        // so that at most the game in progress can be lost.
        saver.SaveRecords(QString::fromLatin1(kContinueWithoutSaving));
        const bool first = code == 50;
        const QString text = WireToText(first ? m.settings.player1Name : m.settings.player2Name) +
                             QStringLiteral(" has won the game with ") +
                             QString::number(first ? total1 : total2) +
                             QStringLiteral(" points.  Play again?");
        if (ShowConfirmBox(view, QString::fromLatin1(kNewGameCaption), text, std::nullopt,
                           TotalsWords(m.settings, total1, total2))) {
            StartNewGame(link, m, view);
            return;
        }
        then.DropAfterReply();
        view.SetTableNote(GameOverNote(m.settings, first ? 1 : 2, total1, total2));
    });
}

static_assert(int(kBuildChoice) == TAmbiguous::kBuild && int(kTakeChoice) == TAmbiguous::kTake &&
              int(kBlockChoice) == TAmbiguous::kBlock && int(kPutChoice) == TAmbiguous::kPut);

// True when menu `code` offers `choice`: Put always, Build, Take and Block by
// the bits 1, 2 and 4 of the code.
bool MenuOffers(int code, int choice) {
    const int bits[] = {0, 1, 2, 4, 8};
    return choice >= kBuildChoice && choice <= kPutChoice && (code & bits[choice]) != 0;
}

// Item "M": a move menu or the end of a round. A menu is answered by the
// reply's menu answer when it offers that kind, else by the player in
// Choose Action.
void MenuItem(GameMirror& m, LogicLink& link, RecordsSaver& saver, TableView& view, Cursor& in,
              FollowUps& next) {
    const int answer = next.MenuAnswer();
    const int code = in.TwoDigits();
    switch (code) {
        case 8:
        case 11:
        case 13:
        case 14:
        case 15: {
            const int choice = MenuOffers(code, answer) ? answer : ChooseAction(code);
            if (choice == 0) ClearSelection(view);
            RequestBuffer buffer;
            MakeMessage('Y', buffer);
            AddDigit(choice, buffer);
            next.Send(buffer);
            break;
        }
        case 49:
        case 50:
        case 51: {
            const int total1 = in.TwoDigits();
            const int total2 = in.TwoDigits();
            EndOfRound(m, link, saver, view, code, total1, total2, next);
            break;
        }
        default:
            break;  // the library sends no other menu
    }
}

// Item "P": the player to move.
void PlayerToMove(GameMirror& m, TableView& view, Cursor& in, FollowUps& next) {
    m.SetCurrentPlayer(in.Digit());
    if (m.playerIsComputer[m.CurrentPlayer()] == 1) MakeMessage('C', next.AfterReply());
    view.ShowTurn(m.CurrentPlayer());
    ClearSelection(view);
}

}  // namespace

bool Replies::HandleItem(char code, Cursor& in, FollowUps& next) {
    GameMirror& m = mirror_;
    // The marks go up before a question at the end of a round.
    if (code == 'M') ShowMarks();
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
            view_.DisplayCard(code - '0', column, depth, CardPicture(rank, suit), kShow);
            return true;
        }
        case 'A': {
            if (!m.settings.animation) {
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
            view_.AnimateCard(fromArea, toArea, CardPicture(rank, suit), fromColumn, fromDepth,
                              toColumn, toDepth);
            return true;
        }
        case 'D': {
            const int steps = in.Digit();
            const int ms = steps * m.settings.delayUnit;
            if (ms > 0) QThread::msleep(unsigned(ms));
            if (marking_) view_.ClearMoveMarks();  // the move is about to be drawn
            return true;
        }
        case 'E': {
            const std::string text(in.TextToNextItem());
            if (m.debugFlag)
                ShowMessage(QStringLiteral("ERROR MESSAGE RECEIVED FROM LOGIC: ") +
                            WireToText(text));
            return true;
        }
        case 'F':
            // The player is told before the card goes; the computer's move
            // says it in its words.
            in.TextToNextItem();
            if (m.playerIsComputer[m.CurrentPlayer()] != 1)
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
            m.scores[player] = record;
            view_.ShowScores(player, record);
            return true;
        }
        case 'H':
            HallOfFameRow(m, in);
            return true;
        case 'I':
            SettingsItem(m, in);
            return true;
        case 'M':
            MenuItem(m, link_, saver_, view_, in, next);
            return true;
        case 'P':
            PlayerToMove(m, view_, in, next);
            return true;
        case 'Q':
        case 'V':
            in.TextToNextItem();
            return true;
        case 'T': {
            const int column = in.Digit();
            view_.DrawTag(column, in.Take());
            return true;
        }
        case 'U': {
            const char suit = in.Take();
            int mask = 0;
            for (int i = 0; i < 4; ++i)
                mask = mask * 10 + in.Digit();
            view_.ShowRemainingCards(suit, mask);
            return true;
        }
        case '?': {
            const int player = in.Digit();
            const int slot = in.Digit();
            std::vector<int> columns;
            while (!in.AtEnd() && in.Peek() != '<')
                columns.push_back(in.Digit());
            OfferHint(view_, player, slot, columns, next);
            return true;
        }
        default:
            return false;
    }
}

namespace {

const char kGoOn[] = "  New Game (F2) starts a new game.";

QString Points(int total) {
    return QString::number(total) +
           (total == 1 ? QStringLiteral(" point") : QStringLiteral(" points"));
}

}  // namespace

QString TotalsWords(const Settings& settings, int total1, int total2) {
    return WireToText(settings.player1Name) + QStringLiteral(" has ") + Points(total1) +
           QStringLiteral(", ") + WireToText(settings.player2Name) + QStringLiteral(" has ") +
           Points(total2) + QStringLiteral(".");
}

QString StoppedNote(const Settings& settings, int total1, int total2) {
    return QStringLiteral("Game stopped: ") + TotalsWords(settings, total1, total2) +
           QString::fromLatin1(kGoOn);
}

QString GameOverNote(const Settings& settings, int winner, int total1, int total2) {
    const bool first = winner == 1;
    return WireToText(first ? settings.player1Name : settings.player2Name) +
           QStringLiteral(" won the game ") + QString::number(first ? total1 : total2) +
           QStringLiteral(" to ") + QString::number(first ? total2 : total1) + QStringLiteral(".") +
           QString::fromLatin1(kGoOn);
}

MoveContext MoveContextNow(const TableView& view) {
    const GameMirror& m = view.ShownMirror();
    MoveContext context;
    context.names[1] = m.settings.player1Name;
    context.names[2] = m.settings.player2Name;
    context.sweeps[1] = m.scores[1].sweeps;
    context.sweeps[2] = m.scores[2].sweeps;
    for (int column = 1; column <= kNumColumns; ++column)
        context.bottomRank[column] =
            view.table.pileDepth[0][column] > 0 ? PictureRank(view.table.pileCards[column][1]) : 0;
    return context;
}

void Replies::BeginReply(const std::string& text) {
    // A move's reply leaves the places it touched marked and its words on the
    // table: the computer's move until the player acts, the player's own while
    // the computer thinks (up to the end of the pause after its reveal). They
    // are shown once the move is drawn, before any question at the end of a round.
    words_ = DescribeMove(text, MoveContextNow(view_));
    marking_ = !words_.isEmpty();
    // The player's first move of a game: the note on how to move has served.
    if (marking_ && !IsComputerMove(text) && view_.TableNote() == QLatin1String(kFirstTurnNote))
        view_.SetTableNote(QString());
    if (marking_) view_.BeginMoveMarks();
}

void Replies::EndReply() {
    ShowMarks();
}

void Replies::ShowMarks() {
    if (marking_) view_.ShowMoveMarks(words_);
    marking_ = false;
}
