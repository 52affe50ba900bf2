#include "gui/grid/grid_table_model.h"

#include <QBrush>
#include <QColor>

namespace talvex::gui {

QColor GridColor(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

GridTableModel::GridTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridTableModel::SetGrid(GridModel grid) {
    beginResetModel();
    grid_ = std::move(grid);
    endResetModel();
}

void GridTableModel::ClearRows() {
    if (grid_.rows.empty())
        return;
    beginRemoveRows({}, 0, static_cast<int>(grid_.rows.size()) - 1);
    grid_.rows.clear();
    endRemoveRows();
}

void GridTableModel::SetCellText(int row, int column, const QString& text) {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return;
    auto& cells = grid_.rows[static_cast<std::size_t>(row)].cells;
    if (cells.size() <= static_cast<std::size_t>(column))
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text.toStdString();
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
}

QString GridTableModel::CellText(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount())
        return {};
    const auto& cells = grid_.rows[static_cast<std::size_t>(row)].cells;
    if (static_cast<std::size_t>(column) >= cells.size())
        return {};
    return QString::fromStdString(cells[static_cast<std::size_t>(column)]);
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(grid_.rows.size());
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(grid_.columns.size());
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const GridRow& row = grid_.rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return CellText(index.row(), index.column());
    case Qt::ForegroundRole:
        return row.textColor == kDefaultColor ? QVariant() : QVariant(QBrush(GridColor(row.textColor)));
    case Qt::BackgroundRole:
        return row.backColor == kDefaultColor ? QVariant() : QVariant(QBrush(GridColor(row.backColor)));
    case TagRole:
        return row.tag;
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The caption is its own tooltip too: a narrowed column still tells what it holds.
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole) ||
        section < 0 || section >= columnCount())
        return {};
    return QString::fromStdString(grid_.columns[static_cast<std::size_t>(section)].caption);
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString oldText = CellText(index.row(), index.column());
    const QString newText = value.toString();
    if (newText == oldText) // the same text again is no change
        return false;
    SetCellText(index.row(), index.column(), newText);
    if (changed_ && !changed_(index.row(), index.column())) {
        SetCellText(index.row(), index.column(), oldText);
        return false;
    }
    return true;
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Every cell can hold an editor; whether one opens is decided by the grid (EditSubItem).
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace talvex::gui
