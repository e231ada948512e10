// A child of the table widget's accessible interface that is no widget of its
// own (a place, the notification, the score sheet): what every such child
// answers alike, with no children of its own unless it says otherwise.
#pragma once

#include <QAccessible>
#include <QPointer>
#include <QWidget>

#include "table/tableview.h"

class TableChild : public QAccessibleInterface {
  public:
    explicit TableChild(QWidget* surface) : surface_(surface) {}

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
    void setText(QAccessible::Text, const QString&) override {}

  protected:
    // The table widget; null once it is gone.
    QWidget* surface() const { return surface_.data(); }
    // The view that draws the table (an empty one once the table is gone).
    const TableView& View() const { return ViewOf(surface()); }

  private:
    QPointer<QWidget> surface_;
};
