#include "gui/pages/dlg_out_table.h"

#include "gui/grid/grid_ctrl.h"

#include <QSplitter>
#include <QVBoxLayout>

namespace talvex::gui {

CDlgOutTable::CDlgOutTable(QWidget* parent)
    : QWidget(parent), splitter_(new QSplitter(Qt::Vertical, this)), grid_(new CGridCtrl(splitter_)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    splitter_->addWidget(grid_);
    splitter_->setChildrenCollapsible(false);
}

void CDlgOutTable::SetGrid(GridModel grid) {
    grid_->SetGrid(std::move(grid));
}

void CDlgOutTable::SetTopWidget(QWidget* widget) {
    splitter_->insertWidget(0, widget);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 1);
}

void CDlgOutTable::SetBottomWidget(QWidget* widget) {
    splitter_->addWidget(widget);
    for (int i = 0; i < splitter_->count(); ++i)
        splitter_->setStretchFactor(i, 1);
}

} // namespace talvex::gui
