#include "dialogs/choicelist.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QList>
#include <QPointer>
#include <QTimer>

#include "dialogs/formparts.h"

namespace {

constexpr char kRadioProperty[] = "casinoRadioButton";
// Where the lists' events go: a test's recorder kept by the application
// object, else Qt's accessibility.
void Tell(QAccessibleEvent* event) {
    const DialogHost* host = TheDialogHost();
    if (host && host->choiceEvents)
        host->choiceEvents(event);
    else
        QAccessible::updateAccessibility(event);
}

// One choice of a ChoiceList: a list item with no widget of its own.
class ChoiceItem : public QAccessibleInterface {
  public:
    ChoiceItem(ChoiceList* list, int index) : list_(list), index_(index) {}

    bool isValid() const override { return !list_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !list_ || index_ >= list_->ChoiceCount()) return {};
        return list_->ChoiceName(index_);
    }
    QRect rect() const override {
        if (!list_) return {};
        const QRect at = list_->ChoiceRect(index_);
        return QRect(list_->mapToGlobal(at.topLeft()), at.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        if (!list_ || !list_->isVisible()) {
            s.invisible = true;
            return s;
        }
        const bool current = list_->CurrentChoice() == index_;
        s.selected = current;
        s.focused = current && list_->hasFocus();
        return s;
    }

  private:
    QPointer<ChoiceList> list_;
    int index_;
};

// The list: its items are made as they are first asked for and live as long
// as the list.
class ChoiceListAccessible : public QAccessibleWidget {
  public:
    explicit ChoiceListAccessible(ChoiceList* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~ChoiceListAccessible() override {
        for (ChoiceItem* item : items_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
    }

    int childCount() const override { return List()->ChoiceCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        while (items_.size() <= index) {
            auto* item = new ChoiceItem(List(), int(items_.size()));
            QAccessible::registerAccessibleInterface(item);
            items_ << item;
        }
        return items_[index];
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int at =
            int(items_.indexOf(static_cast<ChoiceItem*>(const_cast<QAccessibleInterface*>(child))));
        return at < childCount() ? at : -1;
    }
    QAccessibleInterface* focusChild() const override {
        return List()->hasFocus() ? child(List()->CurrentChoice()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index = 0; index < childCount(); ++index)
            if (child(index)->rect().contains(x, y)) return child(index);
        return nullptr;
    }

  private:
    ChoiceList* List() const { return static_cast<ChoiceList*>(widget()); }

    mutable QList<ChoiceItem*> items_;
};

// A checkable button of an exclusive group: one choice of several, as a
// radio button is.
class RadioAccessible : public QAccessibleWidget {
  public:
    explicit RadioAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            Button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* ChoiceFactory(const QString&, QObject* object) {
    if (auto* list = dynamic_cast<ChoiceList*>(object)) return new ChoiceListAccessible(list);
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (button && button->property(kRadioProperty).toBool()) return new RadioAccessible(button);
    return nullptr;
}

// Qt asks the factories installed last first; installed after the
// application object exists (as every widget does), and once: an earlier
// installation is taken out first.
void InstallChoiceFactory() {
    QAccessible::removeFactory(ChoiceFactory);
    QAccessible::installFactory(ChoiceFactory);
}

}  // namespace

ChoiceList::ChoiceList(QWidget* parent, const QString& name) : QWidget(parent) {
    InstallChoiceFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(name);
}

QRect ChoiceList::ChoiceRect(int) const {
    return rect();
}

void ChoiceList::TellCurrent() {
    update();
    if (!hasFocus()) return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(this);
    if (QAccessibleInterface* item = list ? list->focusChild() : nullptr) {
        QAccessibleEvent event(item, QAccessible::Focus);
        Tell(&event);
    }
}

void ChoiceList::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // After the event that tells the list has the focus, the item in it.
    QTimer::singleShot(0, this, [this] { TellCurrent(); });
}

void ChoiceList::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void SetChoiceEventSink(void (*eventSink)(QAccessibleEvent*)) {
    if (DialogHost* host = TheDialogHost()) host->choiceEvents = eventSink;
}

void ShowAsRadioButton(QAbstractButton* button, const QString& name) {
    InstallChoiceFactory();
    button->setProperty(kRadioProperty, true);
    // The button told its text as it was made, and Qt keeps the interface it
    // made then: drop it, so that the next question gets the radio button.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(button);
        made && !dynamic_cast<RadioAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    button->setAccessibleName(name);
}
