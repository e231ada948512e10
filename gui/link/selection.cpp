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
void SendHandCard(TableView& view, LogicLink& link, int player, int slot) {
    view.DisplayCard(player, slot, 1, 1, kToggleHighlight);
    RequestBuffer buffer;
    MakeMessage(char('0' + player), buffer);
    MakeMoveMessage(view, slot, buffer);
    link.Send(buffer);
}

WireCard CardOf(int picture) {
    const int rank = PictureRank(picture);
    if (rank == 0) return {};
    return {RankChar(rank), "cdhs"[(picture - 1) / 13]};
}

// The hint's move as the table shows it now, for its words.
HintTable HintAsShown(const TableView& view, int player, int slot,
                      const std::vector<int>& columns) {
    HintTable hint;
    hint.handCard = CardOf(view.table.handCards[player][slot]);
    for (int other = 1; other <= 4; ++other)
        if (other != slot && view.table.pileDepth[player][other] > 0)
            hint.otherHandCards.push_back(CardOf(view.table.handCards[player][other]));
    hint.freeColumn = false;
    for (int column = 1; column <= kNumColumns; ++column) {
        const int depth = view.table.pileDepth[0][column];
        if (depth > 0)
            ++hint.occupiedPiles;
        else
            hint.freeColumn = true;
    }
    for (int column : columns) {
        HintTable::Pile pile;
        for (int depth = 1; depth <= view.table.pileDepth[0][column]; ++depth)
            pile.cards.push_back(CardOf(view.table.pileCards[column][depth]));
        pile.tag = view.table.tagLetter[column];
        if (!pile.cards.empty()) hint.chosen.push_back(pile);
    }
    return hint;
}

}  // namespace

QString HintQuestion(const TableView& view, int player, int slot, const std::vector<int>& columns) {
    const HintTable hint = HintAsShown(view, player, slot, columns);
    const QString move = hint.handCard.rank == 0 ? QString() : DescribeHint(hint);
    if (move.isEmpty()) return QString::fromLatin1(kHintText);
    return QString::fromLatin1(kHintOpening) + QLatin1Char('\n') + move + QLatin1Char('\n') +
           QString::fromLatin1(kHintClosing);
}

void CardSelect(TableView& view, LogicLink& link, int x, int y) {
    // The player acts: the marks of the last move have been seen.
    view.ClearMoveMarks();
    view.ShowStatus(QStringLiteral("no card selected on tableau"));

    if (y > kHandBottom) {
        const int column = ColumnAt(x);
        if (column == 0) return;  // the gap, or beside the table
        const int depth = view.table.pileDepth[0][column];
        if (OnPile(depth, y)) {
            view.DisplayCard(0, column, depth, 1, kToggleHighlight);
            view.ShowStatus(QStringLiteral("tableau clicked. col1=%1 col2=%1").arg(column));
        }
        return;
    }

    view.ShowStatus(QStringLiteral("illegal selection"));
    const int player = view.ShownMirror().CurrentPlayer();
    const int slot = HandSlotAt(player, x, y);
    if (slot > 0 && view.table.pileDepth[player][slot] > 0) {
        view.ShowStatus(
            QStringLiteral("legal players hand clicked. legal card selected. column= %1")
                .arg(slot));
        SendHandCard(view, link, player, slot);
    }
}

bool KeyboardPlay(TableView& view, LogicLink& link, int key) {
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
    const int player = view.ShownMirror().CurrentPlayer();
    if (view.ShownMirror().playerIsComputer[player] == 1) return true;
    if (column == 0 && slot == 0) {
        HintClick(view, link);
        return true;
    }
    // The key of a pile takes the keyboard focus there, so that a screen
    // reader speaks the pile it chose and the arrows go on from it.
    if (column > 0 && PlaceShown(view, {0, column})) SetFocusPlace(view, {0, column});
    // A click at the middle of the pile's top card or of the hand card, so
    // that the hit rules and everything a click does apply unchanged.
    const QPoint at =
        (column > 0 ? view.CardPosition(0, column, 1) : view.CardPosition(player, slot, 1)) +
        QPoint(kCardWidth / 2, kCardHeight / 2);
    CardSelect(view, link, at.x(), at.y());
    return true;
}

bool TableKey(TableView& view, LogicLink& link, int key) {
    switch (key) {
        case Qt::Key_Left:
            MoveFocus(view, -1, 0);
            return true;
        case Qt::Key_Right:
            MoveFocus(view, 1, 0);
            return true;
        case Qt::Key_Up:
            MoveFocus(view, 0, -1);
            return true;
        case Qt::Key_Down:
            MoveFocus(view, 0, 1);
            return true;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            break;
        default:
            return false;
    }
    MoveFocus(view, 0, 0);  // onto a place that is there
    const TablePlace place = FocusPlace(view);
    if (!Focusable(view, place)) return true;
    if (place.area == kPilesArea) return KeyboardPlay(view, link, PileKey(place.column));
    // The focus rests on the hand of the player to move whenever a person plays it.
    if (place.area != view.ShownMirror().CurrentPlayer()) return true;
    return KeyboardPlay(view, link, kSlotKeys[place.column - 1]);
}

void ClearSelection(TableView& view) {
    for (int area = kPilesArea; area <= kHandArea2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            if (view.table.highlight[area][column] == 1 && view.table.pileDepth[area][column] > 0)
                view.DisplayCard(area, column, view.table.pileDepth[area][column], 1,
                                 kToggleHighlight);
}

void MakeMoveMessage(const TableView& view, int slot, RequestBuffer& buffer) {
    AddDigit(slot, buffer);
    for (int column = 1; column <= kNumColumns; ++column)
        if (view.table.highlight[0][column] == 1) AddDigit(column, buffer);
}

void OfferHint(TableView& view, int player, int slot, const std::vector<int>& columns,
               FollowUps& next) {
    // Only places that show a card are highlighted: a highlight on an empty
    // place could not be taken off again and would mark the next card drawn there.
    ClearSelection(view);
    if (view.table.pileDepth[player][slot] > 0)
        view.DisplayCard(player, slot, 1, 1, kToggleHighlight);
    for (int column : columns) {
        CheckRange(column, 1, kNumColumns, "hint column");
        const int depth = view.table.pileDepth[0][column];
        if (depth > 0) view.DisplayCard(0, column, depth, 1, kToggleHighlight);
    }
    // The question opens below the piles, so that it hides none of the move it offers.
    const QPoint place =
        view.TableToGlobal(QuestionPlace(view.DeepestPile(), !view.MoveWords().isEmpty()));
    const QString question = HintQuestion(view, player, slot, columns);
    // The kind the words name is the move accepted: should the same cards
    // allow another kind too, the library's question is answered with it.
    const int kind = HintChoice(HintAsShown(view, player, slot, columns));
    if (ShowConfirmBox(view, QString::fromLatin1(kHintCaption), question, place)) {
        RequestBuffer buffer;
        MakeMessage(char('0' + player), buffer);
        MakeMoveMessage(view, slot, buffer);
        next.Send(buffer, kind);
    } else {
        ClearSelection(view);
    }
}

void HintClick(TableView& view, LogicLink& link) {
    // The last move's marks and words stay while the hint is asked: a hint
    // asked during the computer's move comes after it and must not hide it.
    const int player = view.ShownMirror().CurrentPlayer();
    bool holdsCard = false;
    for (int slot = 1; slot <= 4; ++slot)
        if (view.table.pileDepth[player][slot] > 0) holdsCard = true;
    if (!holdsCard) return;
    RequestBuffer buffer;
    MakeMessage('?', buffer);
    link.Send(buffer);
}

void PlayPutClick(TableView& view, LogicLink& link) {
    if (view.ShownMirror().CurrentPlayer() != 1) return;
    for (int slot = 1; slot <= 4; ++slot) {
        if (view.table.pileDepth[1][slot] > 0) {
            SendHandCard(view, link, 1, slot);
            return;
        }
    }
}
