#pragma once

#include "core/common/grid_model.h"

#include <QAbstractTableModel>

#include <functional>

namespace talvex::gui {

// A Qt table model over the core's GridModel: one cell text per column, the row colours as the text and
// background brushes (kDefaultColor leaves the view's own colour), the row's tag under TagRole.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int TagRole = Qt::UserRole + 1;

    explicit GridTableModel(QObject* parent = nullptr);

    // Replaces columns and rows at once.
    void SetGrid(GridModel grid);
    const GridModel& Grid() const { return grid_; }
    // Removes every row; the columns stay.
    void ClearRows();

    // Writes a cell's text without asking anyone (how the grid puts back the old text).
    void SetCellText(int row, int column, const QString& text);
    QString CellText(int row, int column) const;

    // Asked when an edit ends with a text that differs from the cell's: the text is written first, and
    // a false answer writes the old text back. Without an answer the change is kept.
    void SetChangeAnswer(std::function<bool(int row, int column)> answer) { changed_ = std::move(answer); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    GridModel grid_;
    std::function<bool(int, int)> changed_;
};

// A 32-bit colour of the grid model (0x00BBGGRR, as the tables store them) as a Qt colour.
QColor GridColor(std::uint32_t value);

} // namespace talvex::gui
