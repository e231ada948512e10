#include "dialogs/formparts.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

// A group box drawn as the dialogs are laid out: an etched frame whose top
// line runs through the middle of the caption, so that controls placed a
// caption's height below the top sit inside the frame.
class EtchedGroup : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int top = title().isEmpty() ? 0 : metrics.height() / 2;
        const QRect frame = rect().adjusted(0, top, -2, -2);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(frame);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(frame.translated(1, 1));
        if (title().isEmpty()) return;
        const QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
        painter.fillRect(caption, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter, title());
    }
};

}  // namespace

DialogHost* TheDialogHost() {
    return dynamic_cast<DialogHost*>(QCoreApplication::instance());
}

QWidget* DialogOwner() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    DialogHost* host = TheDialogHost();
    return host ? host->mainWindow.data() : nullptr;
}

void SetMainWindow(QWidget* window) {
    if (DialogHost* host = TheDialogHost()) host->mainWindow = window;
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void PlaceOnScreen(QWidget* window, const QPoint& topCentre) {
    QRect frame = window->frameGeometry();
    frame.moveTopLeft(QPoint(topCentre.x() - frame.width() / 2, topCentre.y()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), room.right()));
        frame.moveBottom(std::min(frame.bottom(), room.bottom()));
        frame.moveLeft(std::max(frame.left(), room.left()));
        frame.moveTop(std::max(frame.top(), room.top()));
    }
    window->move(frame.topLeft());
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TieLabel(QLabel* label, QWidget* field, const QString& name) {
    label->setBuddy(field);
    field->setAccessibleName(name);
}

QPushButton* PlaceButton(QWidget* parent, const QString& text, const QRect& at) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(at);
    return button;
}

QGroupBox* PlaceGroup(QWidget* parent, const QString& caption, const QRect& at) {
    auto* group = new EtchedGroup(caption, parent);
    group->setGeometry(at);
    return group;
}

QFrame* PlaceBevelLine(QWidget* parent, const QRect& at) {
    auto* line = new QFrame(parent);
    line->setFrameStyle((at.width() > at.height() ? QFrame::HLine : QFrame::VLine) |
                        QFrame::Sunken);
    line->setGeometry(at);
    return line;
}

QFrame* PlaceBevelPanel(QWidget* parent, const QRect& at) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(at);
    auto* inner = new QFrame(panel);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setGeometry(1, 1, at.width() - 2, at.height() - 2);
    inner->setAttribute(Qt::WA_TransparentForMouseEvents);
    return panel;
}

QFont ProgramFont() {
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
