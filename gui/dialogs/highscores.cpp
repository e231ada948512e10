#include "dialogs/highscores.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "dialogs/formparts.h"
#include "table/cardtext.h"
#include "table/tableview.h"

namespace {

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

// A column: a read-only text without border or scroll bars in the dialog's
// colour, which takes neither focus nor selection.
QTextEdit* Column(QWidget* parent, const QRect& at, Qt::Alignment alignment) {
    auto* column = new QTextEdit(parent);
    column->setGeometry(at);
    column->setReadOnly(true);
    column->setTextInteractionFlags(Qt::NoTextInteraction);
    column->setFocusPolicy(Qt::NoFocus);
    column->setFrameStyle(QFrame::NoFrame);
    column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    column->setLineWrapMode(QTextEdit::NoWrap);
    column->viewport()->setCursor(Qt::ForbiddenCursor);
    QPalette palette = column->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    palette.setColor(QPalette::Text, Qt::black);
    column->setPalette(palette);
    column->document()->setDocumentMargin(0);
    QTextOption option = column->document()->defaultTextOption();
    option.setAlignment(alignment);
    option.setWrapMode(QTextOption::NoWrap);
    column->document()->setDefaultTextOption(option);
    return column;
}

// Replaces a column's text by `lines`, every line kLineHeight pixels high.
void SetLines(QTextEdit* column, const QStringList& lines) {
    column->setPlainText(lines.join(QLatin1Char('\n')));
    QTextCursor cursor(column->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(THighScores::kLineHeight, QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(format);
}

QPushButton* SortButton(QWidget* parent, const QString& caption, int x, int width) {
    auto* button = PlaceButton(parent, caption, QRect(x, 24, width, 17));
    button->setFlat(true);
    button->setCheckable(true);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    button->setFont(Bold(button->font()));
    return button;
}

}  // namespace

QString FormatRate(double value) {
    return QString::asprintf("%5.1f", value);
}

THighScores::THighScores(QWidget* parent, const TableView& view, HallOfFameActions actions)
    : QDialog(parent, kFixedDialogFlags), view_(view), actions_(std::move(actions)) {
    setWindowTitle(QStringLiteral("Hall of Fame"));
    setFont(ProgramFont());
    setFixedSize(593, 343);

    HighScoresGroup = PlaceGroup(this, QStringLiteral("Hall of Fame"), QRect(8, 8, 577, 281));
    QWidget* group = HighScoresGroup;

    TTRank = PlaceLabel(group, QStringLiteral("Rank"), 8, 27);
    TTRank->setFont(Bold(TTRank->font()));
    TTRank->resize(33, 13);

    Button2Name = SortButton(group, QStringLiteral("Name"), 48, 137);
    Button3Points = SortButton(group, QStringLiteral("Points"), 184, 65);
    Button4Won = SortButton(group, QStringLiteral("Won"), 248, 65);
    Button5Lost = SortButton(group, QStringLiteral("Lost"), 312, 65);
    Button6Played = SortButton(group, QStringLiteral("Played"), 376, 65);
    Button7Percent = SortButton(group, QStringLiteral("Percent"), 440, 65);
    Button8PPG = SortButton(group, QStringLiteral("PPG"), 504, 65);
    SortButtons = new QButtonGroup(this);
    SortButtons->setExclusive(true);
    const std::pair<QPushButton*, void (THighScores::*)()> sorts[] = {
        {Button2Name, &THighScores::Button2NameClick},
        {Button3Points, &THighScores::Button3PointsClick},
        {Button4Won, &THighScores::Button4WonClick},
        {Button5Lost, &THighScores::Button5LostClick},
        {Button6Played, &THighScores::Button6PlayedClick},
        {Button7Percent, &THighScores::Button7PercentClick},
        {Button8PPG, &THighScores::Button8PPGClick}};
    for (const auto& [button, handler] : sorts) {
        SortButtons->addButton(button);
        connect(button, &QPushButton::clicked, this, handler);
    }
    Button3Points->setChecked(true);

    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    LNumber = Column(group, QRect(8, 56, 33, 218), left);
    LName = Column(group, QRect(48, 56, 121, 217), left);
    LPoints = Column(group, QRect(168, 56, 65, 218), right);
    LWon = Column(group, QRect(240, 56, 57, 218), right);
    LLost = Column(group, QRect(304, 56, 49, 218), right);
    LPlayed = Column(group, QRect(352, 56, 65, 218), right);
    LPercent = Column(group, QRect(416, 56, 65, 218), right);
    LPPG = Column(group, QRect(488, 56, 49, 218), right);

    // Each column is named by its header, and the sort buttons say what they do.
    const struct {
        QTextEdit* column;
        const char* title;
        QPushButton* sort;
    } headed[] = {{LNumber, "Rank", nullptr},
                  {LName, "Name", Button2Name},
                  {LPoints, "Points", Button3Points},
                  {LWon, "Won", Button4Won},
                  {LLost, "Lost", Button5Lost},
                  {LPlayed, "Played", Button6Played},
                  {LPercent, "Percent", Button7Percent},
                  {LPPG, "Points per game", Button8PPG}};
    for (const auto& [column, title, sort] : headed) {
        column->setAccessibleName(QString::fromLatin1(title) + QStringLiteral(" column"));
        if (sort)
            sort->setAccessibleDescription(QStringLiteral("Sorts the rows by ") +
                                           QString::fromLatin1(title).toLower());
    }

    // Covers the strip of the columns below their fifteenth line.
    HiderPanel = new QFrame(group);
    HiderPanel->setGeometry(8, 250, 561, 17);
    HiderPanel->setAutoFillBackground(true);
    HiderPanel->raise();

    Panel1 = PlaceBevelPanel(this, QRect(8, 296, 577, 41));
    OKButton = PlaceButton(Panel1, QStringLiteral("OK"), QRect(406, 10, 75, 25));
    OKButton->setDefault(true);
    ClearButton = PlaceButton(Panel1, QStringLiteral("Clear Scores"), QRect(494, 10, 75, 25));
    connect(OKButton, &QPushButton::clicked, this, &THighScores::OKButtonClick);
    connect(ClearButton, &QPushButton::clicked, this, &THighScores::ClearButtonClick);
    OKButton->setFocus();

    FillColumns();
}

void THighScores::FillColumns() {
    QStringList number, name, points, won, lost, played, percent, ppg;
    for (int rank = 1; rank <= kHallRows; ++rank) {
        const HallRow& row = view_.ShownMirror().hallOfFame[rank];
        number << QString::number(rank);
        name << WireToText(row.name);
        points << QString::number(row.points);
        won << QString::number(row.won);
        lost << QString::number(row.lost);
        played << QString::number(row.played);
        percent << FormatRate(row.percentWon);
        ppg << FormatRate(row.pointsPerGame);
    }
    SetLines(LNumber, number);
    SetLines(LName, name);
    SetLines(LPoints, points);
    SetLines(LWon, won);
    SetLines(LLost, lost);
    SetLines(LPlayed, played);
    SetLines(LPercent, percent);
    SetLines(LPPG, ppg);
    // The table read row by row, as a screen reader reads the group.
    QStringList rows;
    for (int rank = 1; rank <= kHallRows; ++rank)
        if (!name[rank - 1].isEmpty())
            rows << QStringLiteral(
                        "%1. %2: %3 points, won %4, lost %5, played %6, %7 percent, "
                        "%8 points per game")
                        .arg(number[rank - 1], name[rank - 1], points[rank - 1], won[rank - 1],
                             lost[rank - 1], played[rank - 1], percent[rank - 1].trimmed(),
                             ppg[rank - 1].trimmed());
    HighScoresGroup->setAccessibleDescription(rows.join(QLatin1Char('\n')));
}

void THighScores::SortBy(int key) {
    if (actions_.sortBy) actions_.sortBy(key);
    FillColumns();
}

void THighScores::ClearButtonClick() {
    if (!ShowConfirmBox(view_, QStringLiteral("Clear High Scores?"),
                        QStringLiteral("Are you sure you want to erase all high scores?"))) {
        // Back as the dialog opened: Enter closes it with OK rather than asking again.
        OKButton->setFocus();
        return;
    }
    if (actions_.clearAll) actions_.clearAll();
    accept();
}

void THighScores::OKButtonClick() {
    accept();
}
