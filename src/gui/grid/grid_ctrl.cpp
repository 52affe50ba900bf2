#include "gui/grid/grid_ctrl.h"

#include "gui/grid/font_scale.h"
#include "gui/grid/grid_table_model.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace talvex::gui {
namespace {

// Creates the grid's own edit box, with all of the cell's text selected.
class GridEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        auto* editor = new CGridCtrlEditCell(index.row(), index.column(), parent);
        editor->setFont(option.font);
        editor->setAlignment(option.displayAlignment);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        edit->setText(index.data(Qt::EditRole).toString());
        edit->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        // A little taller than the cell so the text is not clipped.
        editor->setGeometry(option.rect.adjusted(0, -2, 0, 2));
    }
};

} // namespace

CGridCtrlEditCell::CGridCtrlEditCell(int item, int subItem, QWidget* parent)
    : QLineEdit(parent), item_(item), subItem_(subItem) {
    setFrame(true);
}

void CGridCtrlEditCell::keyPressEvent(QKeyEvent* event) {
    QLineEdit::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept(); // the edit ends here (the view's delegate saw the key first)
        break;
    default:
        break;
    }
}

CGridCtrl::CGridCtrl(QWidget* parent) : QTableView(parent), model_(new GridTableModel(this)) {
    setModel(model_);
    setItemDelegate(new GridEditDelegate(this));
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // only EditSubItem opens an editor
    setWordWrap(false);
    setAlternatingRowColors(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CGridCtrl::OnHeaderClicked);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int logical, int, int newVisual) { emit columnMoved(logical, newVisual); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int oldSize, int newSize) {
                if (oldSize != newSize)
                    emit columnResized(logical, newSize);
            });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (current.isValid() && current.row() != previous.row())
                    emit rowSelected(current.row(), current.column());
            });
    // Scrolling ends an edit in progress: the grid takes the focus and the edit box commits on losing it.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
        connect(bar, &QScrollBar::actionTriggered, this, [this] {
            if (ActiveEditor())
                setFocus();
        });
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::SetGrid(GridModel grid) {
    model_->SetGrid(std::move(grid));
    const auto& columns = model_->Grid().columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
        setColumnWidth(static_cast<int>(i), ColumnWidth(static_cast<int>(i)));
}

int CGridCtrl::ColumnWidth(int column) const {
    // A table's widths are those of the design font: they grow with the font, and never leave the
    // caption clipped.
    const auto& columns = model_->Grid().columns;
    if (column < 0 || column >= static_cast<int>(columns.size()))
        return 0;
    const int designed = Scaled(columns[static_cast<std::size_t>(column)].width, fontMetrics());
    return std::max(designed, horizontalHeader()->sectionSizeHint(column));
}

const GridModel& CGridCtrl::Grid() const {
    return model_->Grid();
}

void CGridCtrl::DeleteAllItems() {
    model_->ClearRows();
}

int CGridCtrl::RowCount() const {
    return model_->rowCount();
}

QString CGridCtrl::CellText(int item, int subItem) const {
    return model_->CellText(item, subItem);
}

std::int32_t CGridCtrl::RowTag(int item) const {
    return model_->data(model_->index(item, 0), GridTableModel::TagRole).toInt();
}

void CGridCtrl::SetMultiSelection(bool multi) {
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void CGridCtrl::SetChangedAnswer(std::function<bool(int, int)> answer) {
    model_->SetChangeAnswer(std::move(answer));
}

bool CGridCtrl::EditSubItem(int item, int subItem) {
    if (item < 0 || subItem < 0 || item >= model_->rowCount() || subItem >= model_->columnCount())
        return false;
    const QModelIndex index = model_->index(item, subItem);
    scrollTo(index);
    if (!mayEdit_ || !mayEdit_(item, subItem))
        return false;
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

CGridCtrlEditCell* CGridCtrl::ActiveEditor() const {
    return viewport()->findChild<CGridCtrlEditCell*>(QString(), Qt::FindDirectChildrenOnly);
}

std::vector<int> CGridCtrl::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    if (index.row() != currentIndex().row()) {
        setCurrentIndex(index);
        return;
    }
    if (editable_)
        EditSubItem(index.row(), index.column());
    emit doubleClicked(index);
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu belongs near the grid's top-left corner.
    const QPoint at =
        event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5)) : event->globalPos();
    emit contextMenuAt(at);
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    // Info tips: a cell too narrow for its text shows the whole text when the pointer rests on it.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.isValid() ? CellText(index.row(), index.column()) : QString();
        const QRect cell = visualRect(index);
        if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) + 8 > cell.width())
            QToolTip::showText(help->globalPos(), text, viewport(), cell);
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
}

void CGridCtrl::OnHeaderClicked(int column) {
    lastAscending_ = column == lastSortColumn_ ? !lastAscending_ : true;
    lastSortColumn_ = column;
    emit headerClicked(column, lastAscending_);
}

} // namespace talvex::gui
