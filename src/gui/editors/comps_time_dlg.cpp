#include "gui/editors/comps_time_dlg.h"

#include "core/app/session.h"
#include "core/components/retention_time_grid.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/grid/grid_table_model.h"
#include "gui/mainwindow/app_icon.h"

#include <QKeyEvent>
#include <QPushButton>

namespace talvex::gui {
namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 480;
// The window may be made this much higher than its first size, never wider.
constexpr int kExtraHeight = 800;

} // namespace

CCompsTime::CCompsTime(Session& session, QWidget* parent)
    : CFormDialog(parent), session_(session), showError_(ErrorBox(this)) {
    setWindowTitle(QStringLiteral("Времена выхода н-Парафинов"));
    setWindowIcon(AppIcon());

    grid_ = new CGridCtrl(this);
    grid_->setGeometry(8, 8, kWidth - 16, kHeight - 52);
    grid_->SetMultiSelection(true);
    grid_->SetEditable(true);
    grid_->SetMayEditAnswer([](int, int column) { return column != 0; });
    grid_->SetChangedAnswer([this](int row, int column) { return OnCellChanged(row, column); });
    grid_->installEventFilter(this);

    auto* add = new QPushButton(QStringLiteral("Добавить компонент"), this);
    add->setGeometry(8, kHeight - 36, 150, 28);
    auto* remove = new QPushButton(QStringLiteral("Удалить компонент(ы)"), this);
    remove->setGeometry(166, kHeight - 36, 160, 28);
    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setGeometry(kWidth - 188, kHeight - 36, 86, 28);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setGeometry(kWidth - 94, kHeight - 36, 86, 28);
    for (QPushButton* b : {add, remove})
        b->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &CCompsTime::AddRecord);
    connect(remove, &QPushButton::clicked, this, &CCompsTime::DeleteSelected);
    connect(ok, &QPushButton::clicked, this, &CCompsTime::accept);
    connect(cancel, &QPushButton::clicked, this, &CCompsTime::reject);

    SetInitialSize(QSize(kWidth, kHeight));
    setMaximumSize(width(), height() + kExtraHeight);
    SetResizeRule(grid_, ResizeAction::Fixed, ResizeAction::Grow);
    for (QPushButton* b : {add, remove, ok, cancel})
        SetResizeRule(b, ResizeAction::Fixed, ResizeAction::Move);
}

bool CCompsTime::Load() {
    std::string error;
    const bool loaded =
        table_.LoadTable(session_.DataFolder(), session_.Components(), session_.Log(), &error);
    FillGrid();
    if (!loaded)
        showError_(QString::fromStdString(error));
    return loaded;
}

void CCompsTime::FillGrid() {
    grid_->SetGrid(BuildRetentionTimeGrid(table_));
}

bool CCompsTime::OnCellChanged(int row, int column) {
    if (row < 0)
        return false;
    std::string refusal;
    const auto shown = table_.SetCell(static_cast<std::size_t>(row), column,
                                      grid_->CellText(row, column).toStdString(), &refusal);
    if (!shown) {
        ShowRefusal(this, showError_, refusal); // the grid puts the old text back
        return false;
    }
    static_cast<GridTableModel*>(grid_->model())->SetCellText(row, column, QString::fromStdString(*shown));
    return true;
}

void CCompsTime::AddRecord() {
    table_.AddRecord();
    FillGrid();
    grid_->scrollToBottom();
}

void CCompsTime::DeleteSelected() {
    // By rowId: the row numbers shift as records go, the ids do not.
    std::vector<std::int32_t> ids;
    for (int row : grid_->SelectedRows())
        ids.push_back(grid_->RowTag(row));
    for (std::int32_t id : ids)
        table_.DeleteRecord(id);
    FillGrid();
}

bool CCompsTime::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteSelected();
        return true;
    }
    return CFormDialog::eventFilter(watched, event);
}

void CCompsTime::accept() {
    std::string error;
    if (!table_.SaveIfModified(session_.DataFolder(), &error)) {
        FillGrid(); // the records stay in memory, now sorted
        showError_(QString::fromStdString(error));
        return;
    }
    if (!table_.LoadTable(session_.DataFolder(), session_.Components(), session_.Log(), &error))
        showError_(QString::fromStdString(error));
    FillGrid();
    CFormDialog::accept();
}

bool RunRetentionTimeEditor(Session& session, QWidget* parent) {
    CCompsTime dialog(session, parent);
    if (!dialog.Load())
        return false;
    return dialog.exec() == QDialog::Accepted;
}

} // namespace talvex::gui
