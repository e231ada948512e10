#include "selection.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>
#include <string_view>

#include "ambiguous.h"
#include "boxes.h"
#include "casinogui.h"
#include "tableview.h"

const char kHintCaption[] = "Hint";
const char kHintText[] = "The computer recommends this move.  Would you like to use it?";
const char kAccessKeys[] = "kz";
const char kSlotKeys[] = "UIOP";
const char kHintKey = '?';

namespace {

// Hit areas, in window pixels.
constexpr int kHandBottom = 121;  // hand cards end above this row; the table lies below it
constexpr int kTableTop = 180;
constexpr int kCardBottom = 276;  // 180 + 96
constexpr int kPileStep = 17;
constexpr int kHand1Left = 25;
constexpr int kHand1Right = 309;
constexpr int kHand2Left = 483;
constexpr int kHand2Right = 767;
constexpr int kSlotWidth = 71;

// The Choose Action dialog sits 350 pixels below the main window's top.
constexpr int kChooseActionDrop = 350;

bool accessArmed = false;

void SetStatus(const QString& text) {
    if (!CasinoGUI) return;
    CasinoGUI->Label1->setText(text);
    CasinoGUI->Label1->adjustSize();
}

// Highlights the hand slot and sends it, with every highlighted table
// column, as `player`'s move.
void SendHandCard(int player, int slot) {
    DisplayCard(player, slot, 1, 1, kToggleHighlight);
    RequestBuffer buffer;
    MakeMessage(char('0' + player), buffer);
    MakeMoveMessage(slot, buffer);
    SendToLogic(buffer);
}

// "Ar" or "Cl" and then, for areas 0 to 2 and columns 1 to 9, one entry of the table given.
QString DumpTable(const char* title, const Checked<Checked<int, 1, kNumColumns>, 0, 5>& values) {
    QString text = QString::fromLatin1(title);
    for (int area = 0; area <= 2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            text +=
                QStringLiteral("        %1.%2= %3").arg(area).arg(column).arg(values[area][column]);
    return text;
}

}  // namespace

void CardSelect(int x, int y) {
    // Integer division truncates toward zero, so x 0 to 11 still counts as column 1.
    const int c1 = (x - 12) / 87 + 1;
    const int c2 = (x + 4) / 87 + 1;
    SetStatus(QStringLiteral("no card selected on tableau"));

    if (y > kHandBottom) {
        if (c1 != c2 || c1 < 1 || c1 > kNumColumns) return;  // the gap, or beside the table
        const int depth = table.pileDepth[0][c1];
        if (depth > 0 && y > kTableTop && y < kCardBottom + kPileStep * depth) {
            DisplayCard(0, c1, depth, 1, kToggleHighlight);
            SetStatus(QStringLiteral("tableau clicked. col1=%1 col2=%2").arg(c1).arg(c2));
        }
        return;
    }

    SetStatus(QStringLiteral("illegal selection"));
    const int player = CurrentPlayer();
    int slot = 0;
    if (player == 1 && x > kHand1Left && x < kHand1Right && y < kHandBottom)
        slot = (x - kHand1Left) / kSlotWidth + 1;
    if (player == 2 && x > kHand2Left && x < kHand2Right && y < kHandBottom)
        slot = (x - kHand2Left) / kSlotWidth + 1;
    if (slot > 0 && table.pileDepth[player][slot] > 0) {
        SetStatus(QStringLiteral("legal players hand clicked. legal card selected. column= %1")
                      .arg(slot));
        SendHandCard(player, slot);
    }
}

bool KeyboardPlay(int key) {
    const std::size_t slotIndex =
        key > 0 && key < 128 ? std::string_view(kSlotKeys).find(char(key)) : std::string_view::npos;
    int column = 0;
    int slot = 0;
    if (key >= '1' && key <= '9')
        column = key - '0';
    else if (slotIndex != std::string_view::npos)
        slot = int(slotIndex) + 1;
    else if (key != kHintKey)
        return false;

    // While the computer is to move the keys do nothing, as its hand takes no clicks.
    const int player = CurrentPlayer();
    if (playerIsComputer[player] == 1) return true;
    if (column == 0 && slot == 0) {
        HintClick();
        return true;
    }
    // A click at the middle of the pile's top card or of the hand card, so
    // that the hit rules and everything a click does apply unchanged.
    const QPoint at = (column > 0 ? CardPosition(0, column, 1) : CardPosition(player, slot, 1)) +
                      QPoint(kCardWidth / 2, kCardHeight / 2);
    CardSelect(at.x(), at.y());
    DebugCardClicked();  // as the release of a click on the table
    return true;
}

void ClearSelection() {
    for (int area = 0; area <= 2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            if (table.highlight[area][column] == 1 && table.pileDepth[area][column] > 0)
                DisplayCard(area, column, table.pileDepth[area][column], 1, kToggleHighlight);
}

int ChooseAction(int menuCode) {
    TAmbiguous box(menuCode, CasinoGUI);
    if (CasinoGUI) {
        // The dialog's frame is not known before it shows; it is taken to be
        // as wide as the main window's.
        const QRect main = CasinoGUI->frameGeometry();
        const int boxWidth = box.width() + main.width() - CasinoGUI->width();
        box.move(main.left() + (main.width() - boxWidth) / 2, main.top() + kChooseActionDrop);
    }
    box.exec();
    return box.choice;
}

void OfferHint(int player, int slot, const std::vector<int>& columns, RequestBuffer& buffer) {
    // Only places that show a card are highlighted: a highlight on an empty
    // place could not be taken off again and would mark the next card drawn there.
    ClearSelection();
    if (table.pileDepth[player][slot] > 0) DisplayCard(player, slot, 1, 1, kToggleHighlight);
    for (int column : columns) {
        CheckRange(column, 1, kNumColumns, "hint column");
        const int depth = table.pileDepth[0][column];
        if (depth > 0) DisplayCard(0, column, depth, 1, kToggleHighlight);
    }
    if (ShowConfirmBox(QString::fromLatin1(kHintCaption), QString::fromLatin1(kHintText))) {
        MakeMessage(char('0' + player), buffer);
        MakeMoveMessage(slot, buffer);
        SendToLogic(buffer);
    } else {
        ClearSelection();
    }
}

void HintClick() {
    const int player = CurrentPlayer();
    bool holdsCard = false;
    for (int slot = 1; slot <= 4; ++slot)
        if (table.pileDepth[player][slot] > 0) holdsCard = true;
    if (!holdsCard) return;
    RequestBuffer buffer;
    MakeMessage('?', buffer);
    SendToLogic(buffer);
}

void PlayPutClick() {
    if (CurrentPlayer() != 1) return;
    for (int slot = 1; slot <= 4; ++slot) {
        if (table.pileDepth[1][slot] > 0) {
            SendHandCard(1, slot);
            return;
        }
    }
}

void HClick() {
    if (!CasinoGUI) return;
    TCasinoGUI& w = *CasinoGUI;
    QWidget* controls[] = {w.Button8, w.Button9, w.Button10, w.Button7,  w.NewGame,
                           w.Edit2,   w.Edit3,   w.Label1,   w.PutButton};
    for (QWidget* c : controls)
        c->setVisible(!c->isVisible());
}

void DebugShowMsg11() {
    debugFlag = !debugFlag;
}

void Button9Click() {
    playerIsComputer[1] = 1 - playerIsComputer[1];
    if (CasinoGUI)
        CasinoGUI->Button9->setText(playerIsComputer[1] == 1 ? QStringLiteral("1=C")
                                                             : QStringLiteral("1=H"));
}

void Button10Click() {
    playerIsComputer[2] = 1 - playerIsComputer[2];
    if (CasinoGUI)
        CasinoGUI->Button10->setText(playerIsComputer[2] == 1 ? QStringLiteral("2=C")
                                                              : QStringLiteral("2=H"));
}

void DebugCardArrays() {
    if (CasinoGUI) CasinoGUI->Edit2->setText(DumpTable("Ar", table.pileDepth));
}

void DebugCardClicked() {
    if (CasinoGUI) CasinoGUI->Edit3->setText(DumpTable("Cl", table.highlight));
}

void SendMessage() {
    // Asks the library for its version banner and shows what went out and
    // what came back: a quick check that the program and the library talk.
    // The exchange bypasses the reply handlers, which would swallow the banner.
    const LogicEntry entry = CurrentLogicEntry();
    if (!entry) {
        ShowMessage(QStringLiteral("DLL FUNCTION NOT ASSIGNED!"));
        return;
    }
    RequestBuffer request;
    MakeMessage('V', request);
    AddMessageCode('/', request);
    request[writePos] = '\0';
    writePos = 0;
    ReplyBuffer reply;
    const std::int32_t length = entry(request.data(), reply.data());
    reply[kReplySize - 1] = '\0';
    const std::string sent = RequestText(request);
    const std::string received(reply.data(), strnlen(reply.data(), kReplySize));
    ShowMessage(QStringLiteral("GUI > LOG\nsent: ") + WireToText(sent) +
                QStringLiteral("\nreceived: ") + WireToText(received) + QStringLiteral(" (") +
                QString::number(length) + QStringLiteral(")"));
}

void RemainingCardsButtonKeyPress(char key) {
    const char lower = (key >= 'A' && key <= 'Z') ? char(key - 'A' + 'a') : key;
    if (accessArmed && lower == kAccessKeys[1]) {
        if (CasinoGUI) CasinoGUI->H->setVisible(!CasinoGUI->H->isVisible());
        return;  // stays armed: the second key again toggles again
    }
    accessArmed = lower == kAccessKeys[0];
}
