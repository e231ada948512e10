#include "dialogs/ambiguous.h"

#include <QLabel>
#include <QPushButton>

#include "dialogs/formparts.h"

namespace {

constexpr int kButtonTop = 72;
constexpr int kButtonWidth = 49;
constexpr int kButtonHeight = 25;

// Menu code bits besides Put (8): 1 Build, 2 Take, 4 Block.
constexpr int kBuildBit = 1;
constexpr int kTakeBit = 2;
constexpr int kBlockBit = 4;

// The dialog sits this far below its owner's top.
constexpr int kChooseActionDrop = 350;

}  // namespace

QString TAmbiguous::Sentence(int menuCode) {
    switch (menuCode) {
        case 8:
            return QStringLiteral("You may only Put this card on the table.");
        case 11:
            return QStringLiteral("You may Take, Build, or Put.");
        case 13:
            return QStringLiteral("You may Build, Block, or Put.");
        case 14:
            return QStringLiteral("You may Take, Block, or Put.");
        case 15:
            return QStringLiteral("You may Take, Build, Block, or Put.");
        default:
            return {};
    }
}

TAmbiguous::TAmbiguous(int menuCode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Choose Action"));
    setFixedSize(288, 103);

    Label1 = new QLabel(
        QStringLiteral("Please indicate how to play your card.  ") + Sentence(menuCode), this);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(8, 8, 273, 57);

    // Created in the row's order, which is also the tab order.
    TakeButton = AddButton("Take", 8, kTake);
    BuildButton = AddButton("Build", 64, kBuild);
    BlockButton = AddButton("Block", 120, kBlock);
    PutButton = AddButton("Put", 176, kPut);
    CancelButton = AddButton("Cancel", 232, kCancel);

    // Only the codes the library sends open Take, Build or Block.
    const bool known = !Sentence(menuCode).isEmpty();
    TakeButton->setEnabled(known && (menuCode & kTakeBit) != 0);
    BuildButton->setEnabled(known && (menuCode & kBuildBit) != 0);
    BlockButton->setEnabled(known && (menuCode & kBlockBit) != 0);
}

QPushButton* TAmbiguous::AddButton(const char* caption, int x, Choice result) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setGeometry(x, kButtonTop, kButtonWidth, kButtonHeight);
    connect(button, &QPushButton::clicked, this, [this, result] {
        choice = result;
        done(result == kCancel ? QDialog::Rejected : QDialog::Accepted);
    });
    return button;
}

int ChooseAction(int menuCode) {
    QWidget* owner = DialogOwner();
    TAmbiguous box(menuCode, owner);
    if (owner) {
        // The dialog's frame is not known before it shows; it is taken to be
        // as wide as its owner's.
        const QRect main = owner->frameGeometry();
        const int boxWidth = box.width() + main.width() - owner->width();
        box.move(main.left() + (main.width() - boxWidth) / 2, main.top() + kChooseActionDrop);
    }
    box.exec();
    return box.choice;
}
