#pragma once

#include "core/common/grid_model.h"

#include <QWidget>

class QSplitter;

namespace talvex::gui {

class CGridCtrl;

// A page that shows one table over its whole area: the peaks of the selected chromatogram and the
// composition of the unstable liquid. A widget may be placed above the table (the chromatogram plot) or
// below it (the boiling curves).
class CDlgOutTable : public QWidget {
    Q_OBJECT
public:
    explicit CDlgOutTable(QWidget* parent = nullptr);

    CGridCtrl* Grid() const { return grid_; }
    QSplitter* Splitter() const { return splitter_; }
    void SetGrid(GridModel grid);

    // Puts `widget` above the table; the operator can move the border between them.
    void SetTopWidget(QWidget* widget);
    // Puts `widget` below the table, in the same way.
    void SetBottomWidget(QWidget* widget);

private:
    QSplitter* splitter_;
    CGridCtrl* grid_;
};

} // namespace talvex::gui
