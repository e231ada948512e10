// The labels of the window that show the game, as the table view writes
// them: the score sheet, the name panels with the turn and the totals, the
// remaining-cards rows and the status line, each with the name a screen
// reader gives it.
#include <QLabel>
#include <QWidget>

#include "table/tableview.h"

namespace {

constexpr QRgb kTurnPanelColour = qRgb(255, 240, 170);

// Every change of a name is an event a screen reader must sort through: a
// name that stays the same is not set again.
void SetAccessibleName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

}  // namespace

// The score sheet's cells and the name panels as a screen reader names them:
// each cell with its player and row ("Alice Brown, aces: 2"), a name panel
// with the turn it marks, a blank one by what it is for.
void TableView::NameScoreSheet() {
    if (!widgets_.surface) return;  // no window
    for (int player = 1; player <= 2; ++player) {
        const QString name = WireToText(player == 1 ? ShownMirror().settings.player1Name
                                                    : ShownMirror().settings.player2Name);
        for (int row = 1; row <= 7; ++row) {
            QLabel* cell = widgets_.scores[player][row];
            SetAccessibleName(cell, name + QStringLiteral(", ") + ScoreRowName(row) +
                                        QStringLiteral(": ") + cell->text());
        }
        QLabel* panel = widgets_.namePanels[player];
        if (panel->text().isEmpty())
            SetAccessibleName(panel, QStringLiteral("Player %1: no game yet").arg(player));
        else
            SetAccessibleName(
                panel,
                panel->text() + (turnShown_ == player ? QStringLiteral(", to play") : QString()));
    }
}

QString ScoreRowName(int row) {
    static constexpr char rows[][16] = {"aces",   "2 of spades", "10 of diamonds", "sweeps",
                                        "spades", "cards",       "points"};
    return row >= 1 && row <= 7 ? QString::fromLatin1(rows[row - 1]) : QString();
}

void TableView::ShowTurn(int player) {
    turnShown_ = player;
    for (int panel = 1; panel <= 2; ++panel) {
        QLabel* label = widgets_.namePanels[panel];
        if (!label) continue;
        const bool marked = panel == player;
        QFont font = label->font();
        font.setBold(marked);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Button,
                         marked ? QColor(kTurnPanelColour)
                                : label->parentWidget()->palette().color(QPalette::Button));
        label->setPalette(palette);
        label->repaint();  // shown also while the computer thinks
    }
    NameScoreSheet();
}

void TableView::ShowRemainingCards(char suit, int mask) {
    if (const int row = RemainingRowOf(suit)) {
        widgets_.remainingRows[row]->setText(RemainingRow(suit, mask));
        widgets_.remainingRows[row]->setAccessibleName(RemainingWords(suit, mask));
    }
}

void TableView::ShowScores(int player, const ScoreRecord& values) {
    const int numbers[] = {values.aces,   values.twoSpades, values.tenDiamonds, values.sweeps,
                           values.spades, values.cards,     values.points};
    for (int row = 1; row <= 7; ++row)
        widgets_.scores[player][row]->setText(QString::number(numbers[row - 1]));
    NameScoreSheet();
}

void TableView::ShowPlayerNames() {
    widgets_.namePanels[1]->setText(WireToText(ShownMirror().settings.player1Name));
    widgets_.namePanels[2]->setText(WireToText(ShownMirror().settings.player2Name));
    NameScoreSheet();
}

void TableView::ShowRoundTotals(int total1, int total2) {
    const auto points = [](int total) {
        return QString::number(total) +
               (total == 1 ? QStringLiteral(" point") : QStringLiteral(" points"));
    };
    widgets_.namePanels[1]->setText(WireToText(ShownMirror().settings.player1Name) +
                                    QStringLiteral(" has ") + points(total1));
    widgets_.namePanels[2]->setText(WireToText(ShownMirror().settings.player2Name) +
                                    QStringLiteral(" has ") + points(total2));
    NameScoreSheet();
    // Shown before the question that follows blocks the window.
    widgets_.surface->window()->repaint();
}

void TableView::ShowStatus(const QString& text) {
    statusText_ = text;
    // A hidden label is left as it is: each change of its text would reach a
    // screen reader as an event with words meant for debugging.
    if (widgets_.status->isHidden()) return;
    widgets_.status->setText(text);
    widgets_.status->adjustSize();
}
