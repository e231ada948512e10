#include "dialogs/highscores.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "dialogs/choicelist.h"
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

// A sort button, named for a screen reader by the column it sorts.
QPushButton* SortButton(QWidget* parent, const QString& caption, const QString& column, int x,
                        int width) {
    auto* button = PlaceButton(parent, caption, QRect(x, 24, width, 17));
    ShowAsRadioButton(button, QStringLiteral("Sort by ") + column);
    button->setFlat(true);
    button->setCheckable(true);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    button->setFont(Bold(button->font()));
    return button;
}

// The rows for the keyboard and a screen reader: it lies over the columns,
// the arrow keys (and Home, End, a click) choose a row, and the focus is drawn
// around it. A reader hears each row with its column names.
class HallRows : public ChoiceList {
  public:
    explicit HallRows(QWidget* parent) : ChoiceList(parent, QStringLiteral("Hall of Fame")) {}

    // The words of the rows in use, best first; the first row becomes the current one.
    void SetRows(const QStringList& rows) {
        rows_ = rows;
        current_ = rows_.isEmpty() ? -1 : 0;
        setFocusPolicy(rows_.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
        update();
    }
    int ChoiceCount() const override { return int(rows_.size()); }
    int CurrentChoice() const override { return current_; }
    QString ChoiceName(int index) const override { return rows_.value(index); }
    QRect ChoiceRect(int index) const override {
        return QRect(0, index * THighScores::kLineHeight, width(), THighScores::kLineHeight);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int last = ChoiceCount() - 1;
        switch (event->key()) {
            case Qt::Key_Up:
                return Choose(current_ - 1);
            case Qt::Key_Down:
                return Choose(current_ + 1);
            case Qt::Key_Home:
                return Choose(0);
            case Qt::Key_End:
                return Choose(last);
            default:
                QWidget::keyPressEvent(event);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        Choose(int(event->position().y()) / THighScores::kLineHeight);
    }
    void paintEvent(QPaintEvent*) override {
        if (!hasFocus() || current_ < 0) return;
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(ChoiceRect(current_).adjusted(0, 0, -1, -1));
    }

  private:
    void Choose(int index) {
        if (index < 0 || index >= ChoiceCount() || index == current_) return;
        current_ = index;
        TellCurrent();
    }

    QStringList rows_;
    int current_ = -1;
};

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

    Button2Name = SortButton(group, QStringLiteral("Name"), QStringLiteral("Name"), 48, 137);
    Button3Points = SortButton(group, QStringLiteral("Points"), QStringLiteral("Points"), 184, 65);
    Button4Won = SortButton(group, QStringLiteral("Won"), QStringLiteral("Won"), 248, 65);
    Button5Lost = SortButton(group, QStringLiteral("Lost"), QStringLiteral("Lost"), 312, 65);
    Button6Played = SortButton(group, QStringLiteral("Played"), QStringLiteral("Played"), 376, 65);
    Button7Percent =
        SortButton(group, QStringLiteral("Percent"), QStringLiteral("Percent"), 440, 65);
    Button8PPG =
        SortButton(group, QStringLiteral("PPG"), QStringLiteral("Points per game"), 504, 65);
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

    // Each column is named by its header.
    const struct {
        QTextEdit* column;
        const char* title;
    } headed[] = {{LNumber, "Rank"},     {LName, "Name"},          {LPoints, "Points"},
                  {LWon, "Won"},         {LLost, "Lost"},          {LPlayed, "Played"},
                  {LPercent, "Percent"}, {LPPG, "Points per game"}};
    for (const auto& [column, title] : headed)
        column->setAccessibleName(QString::fromLatin1(title) + QStringLiteral(" column"));
    Rows = new HallRows(group);
    Rows->setGeometry(8, 56, 561, kHallRows * kLineHeight);

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
    // The rows in use, each with its column names, for the keyboard and a screen reader.
    QStringList named;
    for (int rank = 1; rank <= kHallRows; ++rank)
        if (!name[rank - 1].isEmpty())
            named << QStringLiteral(
                         "Name: %1, Points: %2, Won: %3, Lost: %4, Played: %5, Percent: %6, "
                         "Points per game: %7")
                         .arg(name[rank - 1], points[rank - 1], won[rank - 1], lost[rank - 1],
                              played[rank - 1], percent[rank - 1].trimmed(),
                              ppg[rank - 1].trimmed());
    static_cast<HallRows*>(Rows)->SetRows(named);
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
