// The score sheet's accessible table and its cells: virtual objects, not
// widgets, that read the score labels the window attached to the table.
#include "table/scoresheet.h"

#include <QAccessible>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <array>

#include "table/tablechild.h"
#include "table/tableview.h"

namespace {

class ScoreSheet;
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
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
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

class ScoreSheet : public TableChild, public QAccessibleTableInterface {
  public:
    static constexpr int kRows = 7;
    static constexpr int kColumns = 2;

    explicit ScoreSheet(QWidget* surface) : TableChild(surface) {
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column) {
                cells_[std::size_t(row * kColumns + column)] =
                    new ScoreCell(surface, this, row, column);
                QAccessible::registerAccessibleInterface(cell(row, column));
            }
    }
    ~ScoreSheet() override {
        for (ScoreCell* c : cells_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(c));
    }

    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < kRows * kColumns ? cells_[std::size_t(index)] : nullptr;
    }
    int childCount() const override { return kRows * kColumns; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto at = std::find(cells_.begin(), cells_.end(), child);
        return at == cells_.end() ? -1 : int(at - cells_.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (ScoreCell* c : cells_)
            if (c->rect().contains(x, y)) return c;
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

  private:
    ScoreCell* cell(int row, int column) const {
        return cells_[std::size_t(row * kColumns + column)];
    }

    std::array<ScoreCell*, kRows * kColumns> cells_{};
};

QAccessibleInterface* ScoreCell::parent() const {
    return sheet_;
}
QAccessibleInterface* ScoreCell::table() const {
    return sheet_;
}

}  // namespace

QAccessibleInterface* NewScoreSheetAccessible(QWidget* surface) {
    return new ScoreSheet(surface);
}
