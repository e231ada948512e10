// What the table says without being asked: an accessible object of role
// Notification, never drawn, whose name is the newest words. Screen readers
// speak a notification when it is shown, whatever has the focus, where a
// change of the focused place's description or of a list item's name goes
// unheard.
#pragma once

#include <QAccessible>
#include <QPointer>
#include <QString>
#include <QWidget>

class Announcement : public QAccessibleInterface {
  public:
    explicit Announcement(QWidget* surface) : surface_(surface) {}

    bool isValid() const override { return !surface_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return surface_ ? surface_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return surface_ ? QAccessible::queryAccessibleInterface(surface_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? words_ : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = words_.isEmpty();
        return s;
    }

    // Shows `words` as a new notification, its events sent to `sink`.
    void Say(const QString& words, void (*sink)(QAccessibleEvent*));

  private:
    QPointer<QWidget> surface_;
    QString words_;
};
