#include "link/selection.h"

#include <string_view>

#include "dialogs/boxes.h"
#include "table/movetext.h"
#include "table/tablefocus.h"
#include "table/tableview.h"

const char kHintCaption[] = "Hint";
const char kHintText[] = "The computer recommends this move.  Would you like to use it?";
const char kHintOpening[] = "The computer recommends this move:";
const char kHintClosing[] = "Would you like to use it?";
const char kHintKey = '?';

namespace {

// Highlights the hand slot and sends it, with every highlighted table
// column, as `player`'s move.
void SendHandCard(LogicLink& link, int player, int slot) {
    DisplayCard(player, slot, 1, 1, kToggleHighlight);
    RequestBuffer buffer;
    MakeMessage(char('0' + player), buffer);
    MakeMoveMessage(slot, buffer);
    link.Send(buffer);
}

WireCard CardOf(int picture) {
    const int rank = PictureRank(picture);
    if (rank == 0) return {};
    return {RankChar(rank), "cdhs"[(picture - 1) / 13]};
}

// The hint's move as the table shows it now, for its words.
HintTable HintAsShown(int player, int slot, const std::vector<int>& columns) {
    HintTable hint;
    hint.handCard = CardOf(table.handCards[player][slot]);
    for (int other = 1; other <= 4; ++other)
        if (other != slot && table.pileDepth[player][other] > 0)
            hint.otherHandCards.push_back(CardOf(table.handCards[player][other]));
    hint.freeColumn = false;
    for (int column = 1; column <= kNumColumns; ++column) {
        const int depth = table.pileDepth[0][column];
        if (depth > 0)
            ++hint.occupiedPiles;
        else
            hint.freeColumn = true;
    }
    for (int column : columns) {
        HintTable::Pile pile;
        for (int depth = 1; depth <= table.pileDepth[0][column]; ++depth)
            pile.cards.push_back(CardOf(table.pileCards[column][depth]));
        pile.tag = table.tagLetter[column];
        if (!pile.cards.empty()) hint.chosen.push_back(pile);
    }
    return hint;
}

}  // namespace

QString HintQuestion(int player, int slot, const std::vector<int>& columns) {
    const HintTable hint = HintAsShown(player, slot, columns);
    const QString move = hint.handCard.rank == 0 ? QString() : DescribeHint(hint);
    if (move.isEmpty()) return QString::fromLatin1(kHintText);
    return QString::fromLatin1(kHintOpening) + QLatin1Char('\n') + move + QLatin1Char('\n') +
           QString::fromLatin1(kHintClosing);
}

void CardSelect(LogicLink& link, int x, int y) {
    // The player acts: the marks of the last move have been seen.
    ClearMoveMarks();
    ShowStatus(QStringLiteral("no card selected on tableau"));

    if (y > kHandBottom) {
        const int column = ColumnAt(x);
        if (column == 0) return;  // the gap, or beside the table
        const int depth = table.pileDepth[0][column];
        if (OnPile(depth, y)) {
            DisplayCard(0, column, depth, 1, kToggleHighlight);
            ShowStatus(QStringLiteral("tableau clicked. col1=%1 col2=%1").arg(column));
        }
        return;
    }

    ShowStatus(QStringLiteral("illegal selection"));
    const int player = ShownMirror().CurrentPlayer();
    const int slot = HandSlotAt(player, x, y);
    if (slot > 0 && table.pileDepth[player][slot] > 0) {
        ShowStatus(QStringLiteral("legal players hand clicked. legal card selected. column= %1")
                       .arg(slot));
        SendHandCard(link, player, slot);
    }
}

bool KeyboardPlay(LogicLink& link, int key) {
    const std::size_t slotIndex =
        key > 0 && key < 128 ? std::string_view(kSlotKeys).find(char(key)) : std::string_view::npos;
    int column = 0;
    int slot = 0;
    if (PileOfKey(key) != 0)
        column = PileOfKey(key);
    else if (slotIndex != std::string_view::npos)
        slot = int(slotIndex) + 1;
    else if (key != kHintKey)
        return false;

    // While the computer is to move the keys do nothing, as its hand takes no clicks.
    const int player = ShownMirror().CurrentPlayer();
    if (ShownMirror().playerIsComputer[player] == 1) return true;
    if (column == 0 && slot == 0) {
        HintClick(link);
        return true;
    }
    // The key of a pile takes the keyboard focus there, so that a screen
    // reader speaks the pile it chose and the arrows go on from it.
    if (column > 0 && PlaceShown({0, column})) SetFocusPlace({0, column});
    // A click at the middle of the pile's top card or of the hand card, so
    // that the hit rules and everything a click does apply unchanged.
    const QPoint at = (column > 0 ? CardPosition(0, column, 1) : CardPosition(player, slot, 1)) +
                      QPoint(kCardWidth / 2, kCardHeight / 2);
    CardSelect(link, at.x(), at.y());
    return true;
}

bool TableKey(LogicLink& link, int key) {
    switch (key) {
        case Qt::Key_Left:
            MoveFocus(-1, 0);
            return true;
        case Qt::Key_Right:
            MoveFocus(1, 0);
            return true;
        case Qt::Key_Up:
            MoveFocus(0, -1);
            return true;
        case Qt::Key_Down:
            MoveFocus(0, 1);
            return true;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            break;
        default:
            return false;
    }
    MoveFocus(0, 0);  // onto a place that is there
    const TablePlace place = FocusPlace();
    if (!Focusable(place)) return true;
    if (place.area == kPilesArea) return KeyboardPlay(link, PileKey(place.column));
    // The focus rests on the hand of the player to move whenever a person plays it.
    if (place.area != ShownMirror().CurrentPlayer()) return true;
    return KeyboardPlay(link, kSlotKeys[place.column - 1]);
}

void ClearSelection() {
    for (int area = kPilesArea; area <= kHandArea2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            if (table.highlight[area][column] == 1 && table.pileDepth[area][column] > 0)
                DisplayCard(area, column, table.pileDepth[area][column], 1, kToggleHighlight);
}

void MakeMoveMessage(int slot, RequestBuffer& buffer) {
    AddDigit(slot, buffer);
    for (int column = 1; column <= kNumColumns; ++column)
        if (table.highlight[0][column] == 1) AddDigit(column, buffer);
}

void OfferHint(int player, int slot, const std::vector<int>& columns, FollowUps& next) {
    // Only places that show a card are highlighted: a highlight on an empty
    // place could not be taken off again and would mark the next card drawn there.
    ClearSelection();
    if (table.pileDepth[player][slot] > 0) DisplayCard(player, slot, 1, 1, kToggleHighlight);
    for (int column : columns) {
        CheckRange(column, 1, kNumColumns, "hint column");
        const int depth = table.pileDepth[0][column];
        if (depth > 0) DisplayCard(0, column, depth, 1, kToggleHighlight);
    }
    // The question opens below the piles, so that it hides none of the move it offers.
    const QPoint place = TableToGlobal(QuestionPlace(DeepestPile(), !MoveWords().isEmpty()));
    const QString question = HintQuestion(player, slot, columns);
    // The kind the words name is the move accepted: should the same cards
    // allow another kind too, the library's question is answered with it.
    const int kind = HintChoice(HintAsShown(player, slot, columns));
    if (ShowConfirmBox(QString::fromLatin1(kHintCaption), question, place)) {
        RequestBuffer buffer;
        MakeMessage(char('0' + player), buffer);
        MakeMoveMessage(slot, buffer);
        next.Send(buffer, kind);
    } else {
        ClearSelection();
    }
}

void HintClick(LogicLink& link) {
    // The last move's marks and words stay while the hint is asked: a hint
    // asked during the computer's move comes after it and must not hide it.
    const int player = ShownMirror().CurrentPlayer();
    bool holdsCard = false;
    for (int slot = 1; slot <= 4; ++slot)
        if (table.pileDepth[player][slot] > 0) holdsCard = true;
    if (!holdsCard) return;
    RequestBuffer buffer;
    MakeMessage('?', buffer);
    link.Send(buffer);
}

void PlayPutClick(LogicLink& link) {
    if (ShownMirror().CurrentPlayer() != 1) return;
    for (int slot = 1; slot <= 4; ++slot) {
        if (table.pileDepth[1][slot] > 0) {
            SendHandCard(link, 1, slot);
            return;
        }
    }
}
