// What the table says without being asked: an accessible object of role
// Notification, never drawn, whose name is the newest words. Screen readers
// speak a notification when it is shown, whatever has the focus, where a
// change of the focused place's description or of a list item's name goes
// unheard.
#pragma once

#include <QString>

#include "table/tablechild.h"

class Announcement : public TableChild {
  public:
    using TableChild::TableChild;

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? words_ : QString();
    }
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
    QString words_;
};
