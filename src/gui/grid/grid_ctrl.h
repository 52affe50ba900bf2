#pragma once

#include "core/common/grid_model.h"

#include <QLineEdit>
#include <QTableView>

#include <functional>

namespace talvex::gui {

class GridTableModel;

// The edit box the grid places over a cell while it is edited. Enter and Escape end the edit here and go
// no further, so Enter never closes a dialog around the grid; Escape ends it without a change.
class CGridCtrlEditCell : public QLineEdit {
    Q_OBJECT
public:
    CGridCtrlEditCell(int item, int subItem, QWidget* parent);

    int Item() const { return item_; }
    int SubItem() const { return subItem_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int item_;
    int subItem_;
};

// The program's table: a report-style list with grid lines, full-row selection, per-row colours from the
// core's grid model and in-place editing of one cell at a time.
//
// Editing: a double click on the focused row edits the clicked cell when the grid is editable (on any
// other row it only focuses and selects that row). The owner answers two questions: "may this cell be
// edited?" (no answer means no) and "the cell's text changed, keep it?" (false restores the old text;
// asked only when the new text differs, case-sensitively). Escape ends an edit with no change.
class CGridCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Shows a table built by the core: its columns and its rows. A column's width is the table's width
    // scaled with the font (FontScale), and at least what its caption needs; the caption is the header's
    // tooltip too, and a double click on a header border fits the column to its content.
    void SetGrid(GridModel grid);
    // The width SetGrid gives a column.
    int ColumnWidth(int column) const;
    const GridModel& Grid() const;
    // Removes every row; the columns stay.
    void DeleteAllItems();

    int RowCount() const;
    QString CellText(int item, int subItem) const;
    std::int32_t RowTag(int item) const;

    void SetEditable(bool editable) { editable_ = editable; }
    bool Editable() const { return editable_; }
    // Several rows may be selected at once (the chromatogram list); otherwise one.
    void SetMultiSelection(bool multi);

    void SetMayEditAnswer(std::function<bool(int item, int subItem)> answer) { mayEdit_ = std::move(answer); }
    void SetChangedAnswer(std::function<bool(int item, int subItem)> answer);

    // Opens the edit box over a cell when the owner allows it; false when no edit box opened.
    bool EditSubItem(int item, int subItem);
    // The edit box of the edit in progress, or null.
    CGridCtrlEditCell* ActiveEditor() const;

    // The selected rows in row order.
    std::vector<int> SelectedRows() const;

signals:
    void rowSelected(int item, int subItem);
    void contextMenuAt(const QPoint& globalPos);
    // Nothing re-sorts the rows; the owner may.
    void headerClicked(int column, bool ascending);
    void columnMoved(int column, int newOrder);
    void columnResized(int column, int newWidth);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void OnHeaderClicked(int column);

    GridTableModel* model_;
    bool editable_ = false;
    std::function<bool(int, int)> mayEdit_;
    int lastSortColumn_ = -1;
    bool lastAscending_ = false;
};

} // namespace talvex::gui
