#include "dialogs/boxes.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <algorithm>

#include "core/mirror.h"
#include "dialogs/formparts.h"
#include "table/tableaccess.h"
#include "table/tableview.h"

namespace {

// The About box keeps its classic size, made for a narrower font than most
// platforms have: a line too long for its panel is set in a condensed face
// and, if still too long, a little smaller, rather than cut off.
void FitToPanel(QLabel* label) {
    const int width = label->parentWidget()->width() - label->x() - 4;
    QFont font = label->font();
    if (label->sizeHint().width() > width) font.setStretch(QFont::SemiCondensed);
    label->setFont(font);
    while (label->sizeHint().width() > width && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
    label->adjustSize();
}

}  // namespace

void ShowMessage(const QString& text) {
    if (const DialogHost* host = TheDialogHost(); host && host->messageSink) {
        host->messageSink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Casino"), text, QMessageBox::Ok,
                    DialogOwner());
    box.setTextFormat(Qt::PlainText);  // "<B>9</>" is a request, not bold type
    box.exec();
}

void SetMessageSink(MessageSink sink) {
    if (DialogHost* host = TheDialogHost()) host->messageSink = std::move(sink);
}

void SetBeepSink(BeepSink sink) {
    if (DialogHost* host = TheDialogHost()) host->beepSink = std::move(sink);
}

THelpBox::THelpBox(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags | Qt::WindowMinimizeButtonHint) {
    setWindowTitle(QStringLiteral("Casino Help"));
    setFixedSize(721, 503);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 8, 705, 441);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(QString::fromLatin1(kHelpText));
    Memo1->setAccessibleName(QStringLiteral("How to play"));
    QFrame* panel = PlaceBevelPanel(this, QRect(8, 456, 705, 41));
    OKButton = PlaceButton(panel, QStringLiteral("OK"), QRect(622, 8, 75, 25));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    Memo1->installEventFilter(this);
    OKButton->installEventFilter(this);
    installEventFilter(this);
}

// Any key that types a character closes the box (Tab still moves the focus);
// keys that type nothing, such as the arrows and page keys, scroll the text.
bool THelpBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("About Casino"));
    setFixedSize(193, 164);
    QFrame* panel = PlaceBevelPanel(this, QRect(8, 10, 169, 113));

    Label1 = new QLabel(QStringLiteral("Casino"), panel);
    QFont big = Label1->font();
    big.setPointSize(12);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignHCenter);
    Label1->move(47, 4);
    Label1->adjustSize();
    // Centred over the panel, whatever the font makes of its width.
    Label1->move((panel->width() - Label1->width()) / 2, 4);

    auto* label2 = new QLabel(QStringLiteral("Written by"), panel);
    label2->setWordWrap(true);
    label2->setGeometry(8, 28, 153, 25);
    label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QLabel* label3 = PlaceLabel(panel, QStringLiteral("the Casino developers"), 9, 44);
    QFont ten = label3->font();
    ten.setPointSize(10);
    label3->setFont(ten);
    label3->adjustSize();

    FitToPanel(PlaceLabel(panel, QStringLiteral("(c) 2026 the Casino developers"), 8, 60));
    Version = PlaceLabel(panel, QStringLiteral("Version 2.1"), 8, 76);
    FitToPanel(PlaceLabel(panel, QStringLiteral("Free software: GNU GPL 3 or later"), 8, 96));

    OKButton = PlaceButton(this, QStringLiteral("OK"), QRect(59, 130, 75, 25));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TConfirmBox::TConfirmBox(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags | Qt::WindowMinimizeButtonHint) {
    setWindowTitle(QStringLiteral("Casino Confirm Exit"));
    setFixedSize(201, 113);
    bevel_ = new QFrame(this);
    bevel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel_->setGeometry(8, 8, 185, 57);
    Label1 = new QLabel(QStringLiteral("Are you sure you want to exit?"), this);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(16, 16, 142, 45);
    OKButton = PlaceButton(this, QStringLiteral("OK"), QRect(16, 80, 80, 25));
    CancelButton = PlaceButton(this, QStringLiteral("Cancel"), QRect(104, 80, 80, 25));
    setTabOrder(OKButton, CancelButton);
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, [this] {
        confirmed = true;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        confirmed = false;
        reject();
    });
}

void TConfirmBox::FitText() {
    const QRect label = Label1->geometry();
    if (Label1->heightForWidth(label.width()) <= label.height()) return;
    // A longer question (a hint that tells its move) gets a box as wide as
    // its longest line, up to kWidestLabel, so that a line rarely wraps, and
    // as tall as it needs.
    constexpr int kWidestLabel = 560;
    const QFontMetrics metrics(Label1->font());
    int widest = label.width();
    for (const QString& line : Label1->text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line) + 4);
    const int wide = std::min(widest, kWidestLabel);
    const int grow = wide - label.width();
    const int height = Label1->heightForWidth(wide);
    const int taller = std::max(0, height - label.height());
    Label1->setGeometry(label.x(), label.y(), wide, height);
    bevel_->resize(bevel_->width() + grow, bevel_->height() + taller);
    for (QPushButton* button : {OKButton, CancelButton})
        button->move(button->x() + grow / 2, button->y() + taller);
    setFixedSize(width() + grow, this->height() + taller);
}

void ShowHelpBox() {
    THelpBox box(DialogOwner());
    CentreOnScreen(&box);
    box.exec();
}

void ShowAboutBox() {
    TAboutBox box(DialogOwner());
    CentreOnScreen(&box);
    box.exec();
}

bool ShowConfirmBox(const TableView& view, const QString& caption, const QString& text,
                    std::optional<QPoint> topCentre, const QString& told) {
    TConfirmBox box(DialogOwner());
    box.setWindowTitle(caption);
    box.Label1->setText(text);
    // What happened on the table just before the box opened is told with it,
    // before anything the caller adds: the box would cut it short otherwise.
    QStringList description;
    if (const QString untold = TakeUntoldWords(view); !untold.isEmpty()) description << untold;
    if (!told.isEmpty()) description << told;
    if (!description.isEmpty()) box.setAccessibleDescription(description.join(QLatin1Char('\n')));
    box.FitText();
    if (view.ShownMirror().settings.sound) {
        if (const DialogHost* host = TheDialogHost(); host && host->beepSink)
            host->beepSink();
        else
            QApplication::beep();
    }
    if (topCentre)
        PlaceOnScreen(&box, *topCentre);
    else
        CentreOnScreen(&box);
    box.exec();
    return box.confirmed;
}

bool ShowRetryBox(const QString& caption, const QString& text, const QString& retry,
                  const QString& giveUp) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Retry | QMessageBox::Discard,
                    DialogOwner());
    box.setTextFormat(Qt::PlainText);  // a folder's name is shown as it is
    box.button(QMessageBox::Retry)->setText(retry);
    box.button(QMessageBox::Discard)->setText(giveUp);
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Retry);
    box.exec();
    return box.clickedButton() != box.button(QMessageBox::Discard);
}
