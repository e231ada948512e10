#include "table/remainingpanel.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QThread>
#include <QWidget>

#include "table/tableview.h"

const char kPanelButtonObjectName[] = "cardsNotYetSeen";

namespace {

class PanelButtonAccessible : public QAccessibleWidget {
  public:
    explicit PanelButtonAccessible(QWidget* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = RemainingPanelOpen(ViewOf(widget()->window()));
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<QAbstractButton*>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

// The pause between the two steps of the slide.
constexpr unsigned kPanelPauseMs = 100;

// Moves the panel by `dy` and shows it there at once.
void MovePanel(TableView& view, int dy) {
    QWidget* panel = view.RemainingPanel();
    panel->move(panel->x(), panel->y() + dy);
    view.SurfaceWidget()->repaint();
    view.NotifyTableWatcher();
}

}  // namespace

bool RemainingPanelOpen(const TableView& view) {
    return view.RemainingPanel() && view.RemainingPanel()->y() != kPanelHidden;
}

void RemainingCardsButtonClick(TableView& view) {
    const int top = view.RemainingPanel()->y();
    if (top == kPanelRaised) {
        MovePanel(view, kPanelStep);
        QThread::msleep(kPanelPauseMs);
        MovePanel(view, kPanelStep);
        return;
    }
    // Raised further by clicks on it, the panel goes on up; once that would
    // take its top out of the window, it goes back to its hidden place
    // instead, so that it can always be brought back.
    if (top - 2 * kPanelStep < 0) {
        MovePanel(view, kPanelHidden - top);
        return;
    }
    MovePanel(view, -kPanelStep);
    QThread::msleep(kPanelPauseMs);
    MovePanel(view, -kPanelStep);
}

void RemainingCardsClick(TableView& view) {
    const int top = view.RemainingPanel()->y();
    MovePanel(view, top - kPanelClickStep < 0 ? kPanelHidden - top : -kPanelClickStep);
}

QAccessibleInterface* NewPanelButtonAccessible(QWidget* button) {
    return qobject_cast<QAbstractButton*>(button) ? new PanelButtonAccessible(button) : nullptr;
}
