// The score sheet's accessible table, its cells and headers: virtual objects,
// not widgets, that read the score labels the window attached to the table;
// and the window's interface, which holds the sheet beside the card table.
#include "table/scoresheet.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <array>

#include "table/tablechild.h"
#include "table/tableview.h"

namespace {

class ScoreSheet;

// A column's player or a row's name, as the header of the sheet's cells.
class ScoreHeader : public TableChild {
  public:
    ScoreHeader(QWidget* window, ScoreSheet* sheet, QAccessible::Role role, int at)
        : TableChild(window), sheet_(sheet), role_(role), at_(at) {}

    QAccessibleInterface* parent() const override;  // the sheet
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return role_; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }

  private:
    ScoreSheet* sheet_;
    QAccessible::Role role_;  // ColumnHeader or RowHeader
    int at_;                  // the column or row
};

class ScoreCell : public TableChild, public QAccessibleTableCellInterface {
  public:
    ScoreCell(QWidget* surface, ScoreSheet* sheet, int row, int column)
        : TableChild(surface), sheet_(sheet), row_(row), column_(column) {}

    bool isValid() const override { return Label() != nullptr; }
    QAccessibleInterface* parent() const override;  // the sheet
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && Label() ? Label()->accessibleName() : QString();
    }
    QRect rect() const override {
        QLabel* label = Label();
        return label ? QRect(label->mapToGlobal(QPoint(0, 0)), label->size()) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

  private:
    QLabel* Label() const {
        const TableWidgets& attached = View().AttachedWidgets();
        return attached.surface ? attached.scores[column_ + 1][row_ + 1] : nullptr;
    }

    ScoreSheet* sheet_;
    int row_;
    int column_;
};

// The sheet: its cells row by row, then its column and row headers. It is a
// child of the window, beside the card table: a screen reader entering the
// table tells the focused card, not the sheet.
class ScoreSheet : public TableChild, public QAccessibleTableInterface {
  public:
    static constexpr int kRows = 7;
    static constexpr int kColumns = 2;

    static constexpr int kCells = kRows * kColumns;

    explicit ScoreSheet(QWidget* window) : TableChild(window) {
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column)
                children_[std::size_t(row * kColumns + column)] =
                    new ScoreCell(window, this, row, column);
        for (int column = 0; column < kColumns; ++column)
            children_[std::size_t(kCells + column)] =
                new ScoreHeader(window, this, QAccessible::ColumnHeader, column);
        for (int row = 0; row < kRows; ++row)
            children_[std::size_t(kCells + kColumns + row)] =
                new ScoreHeader(window, this, QAccessible::RowHeader, row);
        for (QAccessibleInterface* c : children_)
            QAccessible::registerAccessibleInterface(c);
    }
    ~ScoreSheet() override {
        for (QAccessibleInterface* c : children_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(c));
    }

    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < int(children_.size()) ? children_[std::size_t(index)]
                                                           : nullptr;
    }
    int childCount() const override { return int(children_.size()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto at = std::find(children_.begin(), children_.end(), child);
        return at == children_.end() ? -1 : int(at - children_.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < kCells; ++i)
            if (children_[std::size_t(i)]->rect().contains(x, y)) return children_[std::size_t(i)];
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QStringLiteral("Score sheet") : QString();
    }
    QRect rect() const override {
        QRect all;
        for (QWidget* panel : View().AttachedWidgets().scorePanels)
            all |= QRect(panel->mapToGlobal(QPoint(0, 0)), panel->size());
        return all;
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return row >= 0 && row < kRows && column >= 0 && column < kColumns ? cell(row, column)
                                                                           : nullptr;
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= kColumns) return {};
        return WireToText(column == 0 ? View().ShownMirror().settings.player1Name
                                      : View().ShownMirror().settings.player2Name);
    }
    int columnCount() const override { return kColumns; }
    int rowCount() const override { return kRows; }
    QString rowDescription(int row) const override { return ScoreRowName(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    QAccessibleInterface* ColumnHeader(int column) const {
        return children_[std::size_t(kCells + column)];
    }
    QAccessibleInterface* RowHeader(int row) const {
        return children_[std::size_t(kCells + kColumns + row)];
    }
    ScoreCell* cell(int row, int column) const {
        return static_cast<ScoreCell*>(children_[std::size_t(row * kColumns + column)]);
    }

  private:
    std::array<QAccessibleInterface*, kCells + kColumns + kRows> children_{};
};

QAccessibleInterface* ScoreCell::parent() const {
    return sheet_;
}
QAccessibleInterface* ScoreCell::table() const {
    return sheet_;
}
QList<QAccessibleInterface*> ScoreCell::columnHeaderCells() const {
    return {sheet_->ColumnHeader(column_)};
}
QList<QAccessibleInterface*> ScoreCell::rowHeaderCells() const {
    return {sheet_->RowHeader(row_)};
}

QAccessibleInterface* ScoreHeader::parent() const {
    return sheet_;
}
QString ScoreHeader::text(QAccessible::Text t) const {
    if (t != QAccessible::Name) return {};
    return role_ == QAccessible::ColumnHeader ? sheet_->columnDescription(at_)
                                              : sheet_->rowDescription(at_);
}
QRect ScoreHeader::rect() const {
    if (role_ == QAccessible::RowHeader)
        return sheet_->cell(at_, 0)->rect() | sheet_->cell(at_, 1)->rect();
    const TableWidgets& attached = View().AttachedWidgets();
    QLabel* panel = attached.surface ? attached.namePanels[at_ + 1] : nullptr;
    return panel ? QRect(panel->mapToGlobal(QPoint(0, 0)), panel->size()) : QRect();
}

// The main window: its widgets as the toolkit tells them, then the score sheet.
class WindowAccessible : public QAccessibleWidget {
  public:
    explicit WindowAccessible(QWidget* window)
        : QAccessibleWidget(window, QAccessible::Window), sheet_(new ScoreSheet(window)) {
        QAccessible::registerAccessibleInterface(sheet_);
    }
    ~WindowAccessible() override {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(sheet_));
    }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        return index == QAccessibleWidget::childCount() ? sheet_ : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == sheet_ ? QAccessibleWidget::childCount()
                               : QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        // The sheet is drawn over the card table.
        if (sheet_->rect().contains(x, y)) return sheet_;
        return QAccessibleWidget::childAt(x, y);
    }

  private:
    ScoreSheet* sheet_;
};

}  // namespace

QAccessibleInterface* NewWindowAccessible(QWidget* window) {
    return new WindowAccessible(window);
}
