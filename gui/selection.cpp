// What stands here: ClearSelection, HintClick and the debug switches that
// flip program-wide flags. The selection still to come supplies the clicks on
// the table (CardSelect), the Choose Action dialog, the hint offer, the
// Discard button, the debug dumps and the access sequence of the H button.
#include "selection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "casinogui.h"
#include "tableview.h"

void CardSelect(int x, int y) {
    // Selecting piles and hand cards by mouse comes with the selection work.
    Q_UNUSED(x);
    Q_UNUSED(y);
}

void ClearSelection() {
    for (int area = 0; area <= 2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            if (table.highlight[area][column] == 1 && table.pileDepth[area][column] > 0)
                DisplayCard(area, column, table.pileDepth[area][column], 1, kToggleHighlight);
}

int ChooseAction(int menuCode) {
    // The Choose Action dialog comes with the selection work; until then an
    // ambiguous card is answered as cancelled, so nothing is played.
    Q_UNUSED(menuCode);
    return 0;
}

void OfferHint(int player, int slot, const std::vector<int>& columns, RequestBuffer& buffer) {
    // The hint's highlights and its question come with the selection work;
    // until then the offer counts as declined.
    Q_UNUSED(player);
    Q_UNUSED(slot);
    Q_UNUSED(columns);
    Q_UNUSED(buffer);
    ClearSelection();
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
    // The Discard button's move comes with the selection work.
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
    // The dump of the pile depths comes with the selection work.
}

void DebugCardClicked() {
    // The dump of the highlight flags comes with the selection work.
}

void SendMessage() {
    // What the "GUI > LOG" button shows is settled with the selection work.
}

void RemainingCardsButtonKeyPress(char key) {
    // The access sequence that shows the H button comes with the selection work.
    Q_UNUSED(key);
}
