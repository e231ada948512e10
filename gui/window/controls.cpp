// The controls of the main window at their fixed places: the score sheet,
// the name panels, the Hint button, the remaining-cards panel and its button,
// and the hidden debug controls with their handlers.
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <cstdint>

#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "link/selection.h"
#include "table/remainingpanel.h"
#include "table/tableview.h"
#include "window/casinogui.h"

const char kAccessKeys[] = "kz";

namespace {

// A grey panel with a raised bevel, as the score sheet and name panels are drawn.
void MakePanel(QFrame* panel, const QRect& at) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Button);
    panel->setGeometry(at);
}

QLabel* ValueLabel(QWidget* parent, int x, int y, bool bold) {
    auto* label = new QLabel(QStringLiteral("0"), parent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->move(x, y);
    label->adjustSize();
    label->resize(parent->width() - x - 2, label->height());
    return label;
}

// The row name, centred across the panel.
void RowName(QWidget* parent, const QString& text, int y, bool bold) {
    auto* label = new QLabel(text, parent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->adjustSize();
    label->setGeometry(2, y, parent->width() - 4, label->height());
}

void BevelLine(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(2, y, parent->width() - 4, 2);
}

QPushButton* DebugButton(QWidget* parent, const QString& text, const QRect& at) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(at);
    button->hide();
    return button;
}

QLineEdit* DebugEdit(QWidget* parent, const QString& text, const QRect& at) {
    auto* edit = new QLineEdit(text, parent);
    edit->setFont(QFont(QStringLiteral("Arial"), 8));
    edit->setGeometry(at);
    edit->hide();
    return edit;
}

constexpr int kRowY[] = {5, 19, 34, 48, 63, 77};
constexpr int kPointsY = 102;
constexpr int kBevelY = 95;
constexpr int kRemainingRowY[] = {17, 33, 49, 65};  // in the order of kRemainingSuits

// "Ar" or "Cl" and then, for areas 0 to 2 and columns 1 to 9, one entry of the table given.
QString DumpTable(const char* title, const Checked<Checked<int, 1, kNumColumns>, 0, 5>& values) {
    QString text = QString::fromLatin1(title);
    for (int area = kPilesArea; area <= kHandArea2; ++area)
        for (int column = 1; column <= kNumColumns; ++column)
            text +=
                QStringLiteral("        %1.%2= %3").arg(area).arg(column).arg(values[area][column]);
    return text;
}

}  // namespace

void TCasinoGUI::BuildControls() {
    QWidget* client = Table;

    // Score sheet: the value panels first, so that the row names lie above them.
    Scores1 = new QFrame(client);
    MakePanel(Scores1, QRect(312, 25, 88, 121));
    Scores2 = new QFrame(client);
    MakePanel(Scores2, QRect(392, 25, 88, 121));
    QLabel** values1[] = {&Aces1, &TwoSpades1, &TenDiamonds1, &Sweeps1, &Spades1, &Cards1};
    QLabel** values2[] = {&Aces2, &TwoSpades2, &TenDiamonds2, &Sweeps2, &Spades2, &Cards2};
    for (int i = 0; i < 6; ++i) {
        *values1[i] = ValueLabel(Scores1, 16, kRowY[i], false);
        *values2[i] = ValueLabel(Scores2, 62, kRowY[i], false);
    }
    Points1 = ValueLabel(Scores1, 16, kPointsY, true);
    Points2 = ValueLabel(Scores2, 62, kPointsY, true);
    BevelLine(Scores1, kBevelY);
    BevelLine(Scores2, kBevelY);

    // The row names' panel reaches 6 pixels further over each value panel than
    // the two value panels overlap, so that "10 of Diamonds" has room to spare.
    Panel1 = new QFrame(client);
    MakePanel(Panel1, QRect(346, 25, 100, 121));
    const char* rowNames[] = {"Aces", "2 of Spades", "10 of Diamonds", "Sweeps", "Spades", "Cards"};
    for (int i = 0; i < 6; ++i)
        RowName(Panel1, QString::fromLatin1(rowNames[i]), kRowY[i], false);
    RowName(Panel1, QStringLiteral("POINTS"), kPointsY, true);
    BevelLine(Panel1, kBevelY);

    // Name panels, blank until a game starts.
    Player1Name = new QLabel(client);
    MakePanel(Player1Name, QRect(25, 122, 284, 24));
    Player1Name->setAlignment(Qt::AlignCenter);
    Player2Name = new QLabel(client);
    MakePanel(Player2Name, QRect(483, 122, 284, 24));
    Player2Name->setAlignment(Qt::AlignCenter);
    Player1Name->setToolTip(QStringLiteral("Your name; marked while it is your turn"));
    Player2Name->setToolTip(QStringLiteral("Your opponent's name; marked while it is to move"));
    const QString sheet = QStringLiteral(
        "The score sheet of this round: your counts on the left, your opponent's on the right");
    for (QWidget* part : {static_cast<QWidget*>(Scores1), static_cast<QWidget*>(Panel1),
                          static_cast<QWidget*>(Scores2)})
        part->setToolTip(sheet);

    Hint = new QPushButton(QStringLiteral("Hint"), client);
    Hint->setGeometry(312, 8, 169, 17);
    Hint->setToolTip(QStringLiteral("Shows the move the computer would make for you (?)"));
    connect(Hint, &QPushButton::clicked, this, [this] { HintClick(game_.view, game_.link); });

    // Remaining cards: the panel waits below the window, behind its button.
    RemainingCards = new QFrame(client);
    MakePanel(RemainingCards, kPanelRect);
    RemainingCards->installEventFilter(this);
    RemainingCardsLabel = new QLabel(QStringLiteral("Remaining Cards"), RemainingCards);
    QFont heading(QStringLiteral("Arial"));
    heading.setPixelSize(9);
    heading.setUnderline(true);
    RemainingCardsLabel->setFont(heading);
    RemainingCardsLabel->move(126, 3);
    RemainingCardsLabel->adjustSize();
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(11);
    auto row = [&](char suit, int y, Qt::GlobalColor colour) {
        auto* label = new QLabel(RemainingRow(suit, kAllRanks), RemainingCards);
        label->setAccessibleName(RemainingWords(suit, kAllRanks));
        label->setFont(fixed);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
        // On the grey panel a label would otherwise write in the button text colour.
        label->setForegroundRole(QPalette::WindowText);
        label->move(11, y);
        label->adjustSize();
        label->resize(RemainingCards->width() - 22, label->height());
        return label;
    };
    QLabel** rows[] = {&RemainClubs, &RemainHearts, &RemainSpades, &RemainDiamonds};
    for (int i = 0; i < kRemainingRows; ++i) {
        const char suit = kRemainingSuits[i];
        *rows[i] = row(suit, kRemainingRowY[i], suit == 'h' || suit == 'd' ? Qt::red : Qt::black);
    }
    // Named before its text is set: the text's change asks for its accessible
    // interface, which the factory gives by this name (told as expanded while
    // the panel is raised, collapsed while it waits).
    RemainingCardsButton = new QPushButton(client);
    RemainingCardsButton->setObjectName(QString::fromLatin1(kPanelButtonObjectName));
    RemainingCardsButton->setText(QStringLiteral("\u25B2  Cards not yet seen  \u25B2"));
    RemainingCardsButton->setAccessibleName(QStringLiteral("Cards not yet seen"));
    RemainingCardsButton->setGeometry(kPanelButtonRect);
    RemainingCardsButton->setToolTip(
        QStringLiteral("Cards not yet seen: shows or hides the cards still to come"));
    QFont small = RemainingCardsButton->font();
    small.setPixelSize(10);
    RemainingCardsButton->setFont(small);
    RemainingCardsButton->installEventFilter(this);
    connect(RemainingCardsButton, &QPushButton::clicked, this,
            [this] { RemainingCardsButtonClick(game_.view); });

    // Hidden debug controls.
    Label1 = new QLabel(QStringLiteral("Label1"), client);
    Label1->move(352, 408);
    Label1->adjustSize();
    Label1->hide();
    PutButton = DebugButton(client, QStringLiteral("Discard"), QRect(196, 400, 101, 25));
    connect(PutButton, &QPushButton::clicked, this,
            [this] { PlayPutClick(game_.view, game_.link); });
    H = DebugButton(client, QStringLiteral("H"), QRect(0, 122, 25, 25));
    connect(H, &QPushButton::clicked, this, &TCasinoGUI::HClick);
    Button7 = DebugButton(client, QStringLiteral("Debug"), QRect(88, 400, 41, 25));
    connect(Button7, &QPushButton::clicked, this, &TCasinoGUI::DebugShowMsg11);
    NewGame = DebugButton(client, QStringLiteral("NewGame"), QRect(136, 400, 65, 25));
    connect(NewGame, &QPushButton::clicked, this, &TCasinoGUI::NewGame1Click);
    Button8 = DebugButton(client, QStringLiteral("GUI > LOG"), QRect(16, 472, 65, 25));
    connect(Button8, &QPushButton::clicked, this, &TCasinoGUI::SendMessage);
    Button9 = DebugButton(client, QStringLiteral("1=H"), QRect(16, 400, 33, 25));
    connect(Button9, &QPushButton::clicked, this, &TCasinoGUI::Button9Click);
    Button10 = DebugButton(client, QStringLiteral("2=C"), QRect(48, 400, 33, 25));
    connect(Button10, &QPushButton::clicked, this, &TCasinoGUI::Button10Click);
    Edit2 = DebugEdit(client, QStringLiteral("CardArray"), QRect(0, 424, 793, 25));
    Edit2->installEventFilter(this);
    Edit3 = DebugEdit(client, QStringLiteral("CardClicked"), QRect(0, 448, 793, 22));
    Edit3->installEventFilter(this);

    // What the panels are to a screen reader. (Tab goes from the table to Hint
    // to the remaining-cards button, in the order they were made.)
    Scores1->setAccessibleName(QStringLiteral("First player's scores"));
    Panel1->setAccessibleName(QStringLiteral("Score rows"));
    Scores2->setAccessibleName(QStringLiteral("Second player's scores"));
    RemainingCards->setAccessibleName(QStringLiteral("Cards not yet seen"));
    Label1->setAccessibleDescription(QStringLiteral("Status line of move entry"));

    // What the table view draws into and writes.
    TableWidgets widgets;
    widgets.surface = Table;
    QLabel* scores1[] = {Aces1, TwoSpades1, TenDiamonds1, Sweeps1, Spades1, Cards1, Points1};
    QLabel* scores2[] = {Aces2, TwoSpades2, TenDiamonds2, Sweeps2, Spades2, Cards2, Points2};
    for (int row = 1; row <= 7; ++row) {
        widgets.scores[1][row] = scores1[row - 1];
        widgets.scores[2][row] = scores2[row - 1];
    }
    widgets.namePanels[1] = Player1Name;
    widgets.namePanels[2] = Player2Name;
    for (int row = 1; row <= kRemainingRows; ++row)
        widgets.remainingRows[row] = *rows[row - 1];
    widgets.remainingPanel = RemainingCards;
    widgets.status = Label1;
    widgets.scorePanels = {Player1Name, Scores1, Panel1, Scores2, Player2Name};
    widgets.hint = Hint;
    widgets.hintAction = HintMenu->menuAction();
    game_.view.AttachWidgets(widgets);
}

void TCasinoGUI::HClick() {
    QWidget* controls[] = {Button8, Button9, Button10, Button7,  NewGame,
                           Edit2,   Edit3,   Label1,   PutButton};
    for (QWidget* c : controls)
        c->setVisible(c->isHidden());
    // Hidden, they were left as they were; shown, they tell what is now.
    game_.view.ShowStatus(game_.view.StatusText());
    DebugCardArrays();
    DebugCardClicked();
    game_.view.NotifyTableWatcher();  // the accessible table lists the controls shown
}

void TCasinoGUI::DebugShowMsg11() {
    game_.mirror.debugFlag = !game_.mirror.debugFlag;
}

void TCasinoGUI::Button9Click() {
    game_.mirror.playerIsComputer[1] = 1 - game_.mirror.playerIsComputer[1];
    Button9->setText(game_.mirror.playerIsComputer[1] == 1 ? QStringLiteral("1=C")
                                                           : QStringLiteral("1=H"));
}

void TCasinoGUI::Button10Click() {
    game_.mirror.playerIsComputer[2] = 1 - game_.mirror.playerIsComputer[2];
    Button10->setText(game_.mirror.playerIsComputer[2] == 1 ? QStringLiteral("2=C")
                                                            : QStringLiteral("2=H"));
}

// The dumps are written only while they are shown: a hidden field's text
// would reach a screen reader with every click on the table.
void TCasinoGUI::DebugCardArrays() {
    if (!Edit2->isHidden()) Edit2->setText(DumpTable("Ar", game_.view.table.pileDepth));
}

void TCasinoGUI::DebugCardClicked() {
    if (!Edit3->isHidden()) Edit3->setText(DumpTable("Cl", game_.view.table.highlight));
}

void TCasinoGUI::SendMessage() {
    // Asks the library for its version banner and shows what went out and
    // what came back: a quick check that the program and the library talk.
    // The exchange bypasses the reply handlers, which would swallow the banner.
    RequestBuffer request;
    MakeMessage('V', request);
    ReplyBuffer reply;
    std::int32_t length = 0;
    if (!game_.link.SendUnprocessed(request, reply, length)) return;
    ShowMessage(QStringLiteral("GUI > LOG\nsent: ") + WireToText(BufferText(request)) +
                QStringLiteral("\nreceived: ") + WireToText(BufferText(reply)) +
                QStringLiteral(" (") + QString::number(length) + QStringLiteral(")"));
}

void TCasinoGUI::RemainingCardsButtonKeyPress(char key) {
    const char lower = (key >= 'A' && key <= 'Z') ? char(key - 'A' + 'a') : key;
    if (accessArmed_ && lower == kAccessKeys[1]) {
        H->setVisible(!H->isVisible());
        return;  // stays armed: the second key again toggles again
    }
    accessArmed_ = lower == kAccessKeys[0];
}
