#include "dialogs/newgamebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <cmath>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "dialogs/choicelist.h"
#include "dialogs/formparts.h"
#include "table/cardtext.h"

#ifdef CASINO_HAVE_PICTURES
#include "pictures.h"
#endif

namespace {

constexpr int kWidth = 498;
constexpr int kHeight = 414;
constexpr int kTypedNameLimit = 19;
const QColor kSilver(192, 192, 192);
// The tick's corners, relative to the selected cell's top left.
constexpr QPoint kTick[] = {{8, 24}, {17, 24}, {23, 48}, {53, 12}, {62, 12}, {23, 72}};

QComboBox* NameBox(QWidget* parent, const QRect& at) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // Typed names are not added to the list; the list is the Hall of Fame's.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(kTypedNameLimit);
    box->setGeometry(at);
    return box;
}

QSpinBox* SpinEdit(QWidget* parent, const QRect& at, int low, int high) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setValue(low);
    spin->setGeometry(at);
    return spin;
}

QCheckBox* CheckBox(QWidget* parent, const QRect& at) {
    auto* box = new QCheckBox(parent);
    box->setGeometry(at);
    return box;
}

// Shows `name` in a name box, with its entry of the list current when it has one.
void ShowName(QComboBox* box, const QString& name) {
    box->setCurrentIndex(box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box->setEditText(name);
}

// The chooser index that a card back's rank character (either letter case)
// selects: its rank value, 2 to 13; 0 for none.
int IndexOfRank(char rank) {
    const char upper = rank >= 'a' && rank <= 'z' ? char(rank - 'a' + 'A') : rank;
    const int value = RankValue(upper);
    return value >= TNewGameBox::kFirstIndex ? value : 0;
}

// The top left of back `index` within the chooser picture.
QPoint CellOf(int index) {
    CheckRange(index, TNewGameBox::kFirstIndex, TNewGameBox::kLastIndex, "card back");
    const int k = index - TNewGameBox::kFirstIndex;
    return {TNewGameBox::kCellWidth * (k % 6), TNewGameBox::kCellHeight * (k / 6)};
}

// The chooser for the keyboard: it lies over the picture of the backs, lets
// clicks through to the dialog, moves the tick with the arrow keys and shows
// the focus around the chosen back. A screen reader hears it as a list of the
// twelve backs.
class BackKeys : public ChoiceList {
  public:
    explicit BackKeys(TNewGameBox* box) : ChoiceList(box, QStringLiteral("Card back")), box_(box) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleDescription(QStringLiteral("The arrow keys choose another back"));
    }

    int ChoiceCount() const override {
        return TNewGameBox::kLastIndex - TNewGameBox::kFirstIndex + 1;
    }
    int CurrentChoice() const override { return box_->ChosenBack() - TNewGameBox::kFirstIndex; }
    QString ChoiceName(int choice) const override {
        return TNewGameBox::BackName(choice + TNewGameBox::kFirstIndex);
    }
    QRect ChoiceRect(int choice) const override {
        return QRect(CellOf(choice + TNewGameBox::kFirstIndex),
                     QSize(TNewGameBox::kCellWidth - TNewGameBox::kGap,
                           TNewGameBox::kCellHeight - TNewGameBox::kGap));
    }
    // The tick has moved.
    void Moved() { TellCurrent(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int steps[][2] = {
            {Qt::Key_Left, -1}, {Qt::Key_Right, 1}, {Qt::Key_Up, -6}, {Qt::Key_Down, 6}};
        for (const auto& [key, step] : steps)
            if (event->key() == key) {
                const int index = box_->ChosenBack() + step;
                if (index >= TNewGameBox::kFirstIndex && index <= TNewGameBox::kLastIndex)
                    box_->SelectBack(index);
                return;
            }
        QWidget::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent*) override {
        if (!hasFocus()) return;
        QPainter painter(this);
        QPen pen(Qt::black, 1, Qt::DashLine);
        painter.setPen(pen);
        painter.drawRect(ChoiceRect(CurrentChoice()).adjusted(-3, -3, 2, 2));
    }

  private:
    TNewGameBox* box_;
};

// Why a typed name cannot be kept as it was typed, or empty when it can:
// the records hold names in single bytes (Latin-1), so any other letter would
// become "?" and two names could fall into one record; and a name of blanks
// only would show as nothing. (Empty, or one blank, plays as Anonymous.)
QString NameRefusal(const QString& text) {
    if (text.size() > 1 && text.trimmed().isEmpty())
        return QStringLiteral(
            "A player's name cannot be only blanks. Type a name, or leave the box empty to "
            "play as Anonymous.");
    QStringList lost;
    for (const char32_t c : text.toUcs4())
        if (const QString shown = QStringLiteral("\"%1\"").arg(QString::fromUcs4(&c, 1));
            c > 0xFF && !lost.contains(shown))
            lost << shown;
    if (lost.isEmpty()) return {};
    return QStringLiteral(
               "The name \"%1\" cannot be kept as typed: Casino keeps names in the Western "
               "European alphabet (Latin-1), in which %2 cannot be written, so it would be "
               "stored as \"?\" and could share another player's record.\n\n"
               "A name may use the letters A to Z and a to z, digits, blanks, signs such as "
               "- . ' & and the accented letters of Western Europe (such as é, ñ, ö, ß, ø, ç); "
               "the characters ( ) < > are left out.")
        .arg(text, lost.join(QStringLiteral(", ")));
}

}  // namespace

QString CleanName(const QString& text) {
    QString name = text;
    name.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    name.remove(QLatin1Char('<')).remove(QLatin1Char('>'));
    if (name.isEmpty() || name == QStringLiteral(" ")) return QStringLiteral("Anonymous");
    return name;
}

std::string StoredName(const QString& text) {
    return TextToWire(CleanName(text).left(kMaxNameLength));
}

TNewGameBox::TNewGameBox(NewGameMode mode, GameMirror& mirror, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), mode_(mode), mirror_(mirror) {
    BuildControls();
    Fill();
    if (mode_ == NewGameMode::kSettings) Reduce();
}

void TNewGameBox::BuildControls() {
    setWindowTitle(QStringLiteral("New Game Settings"));
    setFont(ProgramFont());
    setFixedSize(kWidth, kHeight);

    // The buttons come first in the tab order, so OK has the focus on opening.
    GroupBox2 = PlaceGroup(this, QString(), QRect(224, 340, 265, 65));
    StartButton = PlaceButton(GroupBox2, QStringLiteral("OK"), QRect(10, 22, 75, 25));
    StartButton->setDefault(true);
    CancelButton = PlaceButton(GroupBox2, QStringLiteral("Cancel"), QRect(93, 22, 75, 25));
    HelpButton = PlaceButton(GroupBox2, QStringLiteral("Help"), QRect(178, 22, 75, 25));
    connect(StartButton, &QPushButton::clicked, this, &TNewGameBox::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TNewGameBox::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TNewGameBox::HelpButtonClick);

    Player1Group = PlaceGroup(this, QStringLiteral("Human Player"), QRect(8, 8, 233, 89));
    Name1 = PlaceLabel(Player1Group, QStringLiteral("Name:"), 16, 25);
    // In the group beside its label, as the computer's: a screen reader finds
    // a field's label among the field's siblings.
    PName1 = NameBox(Player1Group, QRect(56, 20, 153, 21));

    Player2Group = PlaceGroup(this, QStringLiteral("Computer Player"), QRect(256, 8, 233, 89));
    Name2 = PlaceLabel(Player2Group, QStringLiteral("Name:"), 16, 25);
    PName2 = NameBox(Player2Group, QRect(56, 20, 153, 21));
    Level2 = PlaceLabel(Player2Group, QStringLiteral("Level:"), 16, 56);
    Level2->setEnabled(false);
    SpinEdit2 = SpinEdit(Player2Group, QRect(56, 51, 41, 22), 1, kMaxLevel);
    SpinEdit2->setEnabled(false);

    // The frame around the back chooser, with its caption over the top line.
    Bevel1 = PlaceBevelLine(this, QRect(8, 109, 481, 2));
    Bevel2 = PlaceBevelLine(this, QRect(8, 333, 481, 2));
    Bevel3 = PlaceBevelLine(this, QRect(8, 109, 2, 226));
    Bevel4 = PlaceBevelLine(this, QRect(488, 109, 2, 226));
    CardBack = PlaceLabel(this, QStringLiteral("Card Back"), 16, 104);
    CardBack->setAutoFillBackground(true);
    CardBack->resize(CardBack->width() + 4, CardBack->height());
    CardBack->setIndent(2);
    BackChooser = new BackKeys(this);
    BackChooser->setGeometry(QRect(chooserPlace_, QSize(kChooserWidth, kChooserHeight)));
    CardBack->setBuddy(BackChooser);

    OtherGroup = PlaceGroup(this, QStringLiteral("Game Settings"), QRect(8, 340, 209, 65));
    GameAnimation = PlaceLabel(OtherGroup, QStringLiteral("Animation:"), 8, 16);
    GameAnimateCheckbox = CheckBox(OtherGroup, QRect(72, 16, 17, 17));
    GameSpeed = PlaceLabel(OtherGroup, QStringLiteral("Delay:"), 96, 16);
    SpinEdit3 = SpinEdit(OtherGroup, QRect(144, 11, 41, 22), 0, 9);
    GameNumber = PlaceLabel(OtherGroup, QStringLiteral("No:"), 16, 45);
    GameNumberSpinEdit = SpinEdit(OtherGroup, QRect(40, 40, 41, 22), 0, 9);
    GameSound = PlaceLabel(OtherGroup, QStringLiteral("Sound:"), 96, 40);
    GameSoundCheckbox = CheckBox(OtherGroup, QRect(144, 38, 25, 17));
    TieLabel(Name1, PName1, QStringLiteral("Human player's name"));
    TieLabel(Name2, PName2, QStringLiteral("Computer player's name"));
    TieLabel(Level2, SpinEdit2, QStringLiteral("Computer player's level"));
    TieLabel(GameAnimation, GameAnimateCheckbox, QStringLiteral("Animation"));
    TieLabel(GameSpeed, SpinEdit3, QStringLiteral("Delay"));
    TieLabel(GameNumber, GameNumberSpinEdit, QStringLiteral("Deal number"));
    TieLabel(GameSound, GameSoundCheckbox, QStringLiteral("Sound"));
    GameAnimation->installEventFilter(this);
    GameSound->installEventFilter(this);

    setTabOrder(StartButton, CancelButton);
    setTabOrder(CancelButton, HelpButton);
    setTabOrder(HelpButton, PName1);
    setTabOrder(PName1, PName2);
    setTabOrder(PName2, SpinEdit2);
    setTabOrder(SpinEdit2, BackChooser);
    setTabOrder(BackChooser, GameAnimateCheckbox);
    setTabOrder(GameAnimateCheckbox, SpinEdit3);
    setTabOrder(SpinEdit3, GameNumberSpinEdit);
    setTabOrder(GameNumberSpinEdit, GameSoundCheckbox);
    StartButton->setFocus();
}

void TNewGameBox::Fill() {
    for (int row = 1; row <= kHallRows; ++row) {
        const std::string& name = mirror_.hallOfFame[row].name;
        if (name.empty()) continue;
        PName1->addItem(WireToText(name));
        PName2->addItem(WireToText(name));
    }
    // After the lists: adding the first item would replace the text.
    ShowName(PName1, WireToText(mirror_.settings.player1Name));
    ShowName(PName2, WireToText(mirror_.settings.player2Name));

    // An unknown rank character gives the first back.
    if (const int index = IndexOfRank(mirror_.settings.backRank)) chosenBack_ = index;
    BuildChooser(devicePixelRatioF());

    SpinEdit3->setMaximum(9);
    SpinEdit3->setValue(mirror_.settings.delaySetting);
    GameSoundCheckbox->setChecked(mirror_.settings.sound);
    GameAnimateCheckbox->setChecked(mirror_.settings.animation);
    GameNumber->setVisible(mirror_.debugFlag);
    GameNumberSpinEdit->setVisible(mirror_.debugFlag);
}

void TNewGameBox::Reduce() {
    Player1Group->hide();
    Player2Group->hide();
    PName1->hide();
    setWindowTitle(QStringLiteral("Modify Game Settings"));
    setFixedSize(kWidth, kHeight - kReducedBy);
    for (QWidget* control : {static_cast<QWidget*>(CardBack), static_cast<QWidget*>(Bevel1),
                             static_cast<QWidget*>(Bevel2), static_cast<QWidget*>(Bevel3),
                             static_cast<QWidget*>(Bevel4), static_cast<QWidget*>(OtherGroup),
                             static_cast<QWidget*>(GroupBox2)})
        control->move(control->x(), control->y() - kReducedBy);
    chooserPlace_.ry() -= kReducedBy;
    BackChooser->move(chooserPlace_);
}

void TNewGameBox::BuildChooser(qreal ratio) {
    if (!(ratio > 0) || !std::isfinite(ratio)) ratio = 1.0;
    chooser_ = QImage(int(std::ceil(kChooserWidth * ratio)), int(std::ceil(kChooserHeight * ratio)),
                      QImage::Format_RGB32);
    chooser_.setDevicePixelRatio(ratio);
    chooser_.fill(kSilver);
    {
        QPainter painter(&chooser_);
        for (int index = kFirstIndex; index <= kLastIndex; ++index) {
            const QRect card(CellOf(index), QSize(kCellWidth - kGap, kCellHeight - kGap));
#ifdef CASINO_HAVE_PICTURES
            const QPixmap back = pictures::Picture(kBackPictures + index, ratio);
            if (!back.isNull()) {
                painter.drawPixmap(card.topLeft(), back);
                continue;
            }
#endif
            // No artwork in this build: a plain back named by its rank character.
            painter.setPen(Qt::black);
            painter.setBrush(QColor(0, 0, 160));
            painter.drawRect(card.adjusted(0, 0, -1, -1));
            painter.setPen(Qt::white);
            painter.drawText(card, Qt::AlignCenter, QString(QLatin1Char(RankChar(index))));
        }
    }
    DrawTick(chosenBack_);
}

QString TNewGameBox::BackName(int index) {
    // The designs of the backs 2 to king, in the chooser's order.
    static const char* const designs[] = {"teal waves",   "green argyle",   "golden checks",
                                          "purple rings", "blue medallion", "light blue scales",
                                          "brown dots",   "grey zigzags",   "orange sunburst",
                                          "pink stars",   "cream flowers",  "navy stripes"};
    CheckRange(index, kFirstIndex, kLastIndex, "card back");
    return QString::fromLatin1(designs[index - kFirstIndex]);
}

void TNewGameBox::DrawTick(int index) {
    QPolygon tick;
    const QPoint cell = CellOf(index);
    for (const QPoint& corner : kTick)
        tick << cell + corner;
    QPainter painter(&chooser_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(kSilver, 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(tick);
}

void TNewGameBox::paintEvent(QPaintEvent*) {
    // Drawn anew when the dialog has moved to a screen of another pixel density.
    if (!qFuzzyCompare(chooser_.devicePixelRatio(), devicePixelRatioF()))
        BuildChooser(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(chooserPlace_, chooser_);
}

void TNewGameBox::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    FormMouseDown(at.x(), at.y());
}

void TNewGameBox::FormMouseDown(int x, int y) {
    const int left = chooserPlace_.x();
    const int top = chooserPlace_.y();
    if (!(top < y && y < top + kChooserHeight && left < x && x < left + kChooserWidth)) return;
    // A press in a gap selects the back to its left or above it, and a press
    // near the left or top edge the first column or row (division truncates
    // towards zero).
    const int index =
        (x - left - kGap) / kCellWidth + kFirstIndex + ((y - top - kGap) / kCellHeight) * 6;
    SelectBack(index);
}

void TNewGameBox::SelectBack(int index) {
    CheckRange(index, kFirstIndex, kLastIndex, "card back");
    if (index == chosenBack_) return;
    DrawTick(chosenBack_);  // removes it
    chosenBack_ = index;
    DrawTick(chosenBack_);
    update(QRect(chooserPlace_, QSize(kChooserWidth, kChooserHeight)));
    static_cast<BackKeys*>(BackChooser)->Moved();
}

bool TNewGameBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == GameSound) GameSoundClick();
        if (watched == GameAnimation) GameAnimationClick();
    }
    return QDialog::eventFilter(watched, event);
}

void TNewGameBox::GameSoundClick() {
    GameSoundCheckbox->toggle();
}

void TNewGameBox::GameAnimationClick() {
    GameAnimateCheckbox->toggle();
}

void TNewGameBox::HelpButtonClick() {
    ShowHelpBox();
}

void TNewGameBox::CancelButtonClick() {
    reject();
}

void TNewGameBox::OKButtonClick() {
    for (QComboBox* box : {PName1, PName2}) {
        const QString refusal = NameRefusal(box->currentText());
        if (refusal.isEmpty()) continue;
        ShowMessage(refusal);
        box->setFocus();
        return;
    }
    // Names are compared as they would be stored: two texts that clean to the
    // same name would otherwise seat both players in one record.
    const std::string name1 = StoredName(PName1->currentText());
    const std::string name2 = StoredName(PName2->currentText());
    if (name1 == name2) {
        ShowMessage(QStringLiteral("Please enter unique player names."));
        return;
    }
    outcome_ = mode_ == NewGameMode::kNewGame ? kOutcomeStartGame : kOutcomeApplySettings;
    mirror_.settings.player1Name = name1;
    mirror_.settings.player2Name = name2;
    mirror_.settings.player2Level = SpinEdit2->value();
    CheckRange(chosenBack_, kFirstIndex, kLastIndex, "card back");
    mirror_.settings.backRank = RankChar(chosenBack_);
    mirror_.settings.backSuit = kBackSuit;
    mirror_.settings.delaySetting = SpinEdit3->value();
    mirror_.settings.sound = GameSoundCheckbox->isChecked();
    mirror_.settings.animation = GameAnimateCheckbox->isChecked();
    mirror_.settings.delayUnit = mirror_.settings.delaySetting * kDelayMultiplier;
    // Outside debug mode the number control is hidden and stays at 0.
    mirror_.settings.gameNumber = mirror_.debugFlag ? GameNumberSpinEdit->value() : 0;
    accept();
}
