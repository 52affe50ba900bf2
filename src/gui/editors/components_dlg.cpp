#include "gui/editors/components_dlg.h"

#include "core/app/session.h"
#include "core/common/settings.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/grid/grid_table_model.h"

#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace talvex::gui {
namespace {

constexpr int kWidth = 1030;
constexpr int kHeight = 560;
// How much larger than its first size the window may be made.
constexpr QSize kGrowth(400, 800);

} // namespace

CComponents::CComponents(Session& session, QWidget* parent)
    : CFormDialog(parent), session_(session), showError_(ErrorBox(this)) {
    setWindowTitle(QStringLiteral("Компоненты"));
    gasButton_ = new QRadioButton(QStringLiteral("Газ дегазации"), this);
    gasButton_->setGeometry(8, 8, 160, 24);
    gasButton_->setChecked(true);
    liquidButton_ = new QRadioButton(QStringLiteral("Дегазированный конденсат"), this);
    liquidButton_->setGeometry(176, 8, 240, 24);

    grid_ = new CGridCtrl(this);
    grid_->setGeometry(8, 40, kWidth - 16, kHeight - 84);
    grid_->SetEditable(true);
    grid_->SetMayEditAnswer([](int, int column) { return IsComponentColumnEditable(column); });
    grid_->SetChangedAnswer([this](int row, int column) { return OnCellChanged(row, column); });

    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setGeometry(kWidth - 216, kHeight - 36, 100, 28);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setGeometry(kWidth - 108, kHeight - 36, 100, 28);
    connect(ok, &QPushButton::clicked, this, &CComponents::accept);
    connect(cancel, &QPushButton::clicked, this, &CComponents::reject);
    connect(liquidButton_, &QRadioButton::toggled, this, [this](bool liquid) {
        shownBlock_ = liquid ? ComponentBlock::Liquid : ComponentBlock::Gas;
        FillGrid();
    });

    SetInitialSize(QSize(kWidth, kHeight));
    setMaximumSize(size() + kGrowth);
    SetResizeRule(grid_, ResizeAction::Grow, ResizeAction::Grow);
    SetResizeRule(ok, ResizeAction::Move, ResizeAction::Move);
    SetResizeRule(cancel, ResizeAction::Move, ResizeAction::Move);
}

QRadioButton* CComponents::BlockButton(ComponentBlock block) const {
    return block == ComponentBlock::Gas ? gasButton_ : liquidButton_;
}

void CComponents::SetShownBlock(ComponentBlock block) {
    BlockButton(block)->setChecked(true); // the other one's toggle refills the grid
    shownBlock_ = block;
}

void CComponents::Load() {
    // Opening counts as a change, so OK always rewrites the file in the program's own number format.
    changed_ = true;
    for (const std::string& text : session_.LoadComponents())
        showError_(QString::fromStdString(text));
    opened_ = session_.Components();
    FillGrid();
}

void CComponents::FillGrid() {
    ::talvex::CSettings settings;
    settings.Load(session_.Settings());
    grid_->SetGrid(BuildComponentGrid(session_.Components(), shownBlock_, settings.QtyNumAfterDot));
}

bool CComponents::OnCellChanged(int row, int column) {
    if (row < 0)
        return false;
    std::string refusal;
    const auto shown = SetComponentCell(session_.Components(), static_cast<std::size_t>(row), shownBlock_,
                                        column, grid_->CellText(row, column).toStdString(), &refusal);
    if (!shown) {
        ShowRefusal(this, showError_, refusal); // the grid puts the old text back
        return false;
    }
    // The cell shows the number as it was understood ("12,5" becomes "12.5").
    static_cast<GridTableModel*>(grid_->model())->SetCellText(row, column, QString::fromStdString(*shown));
    changed_ = true;
    return true;
}

void CComponents::accept() {
    if (changed_) {
        std::string error;
        if (!session_.Components().SaveComponents(session_.DataFolder(), &error)) {
            showError_(QString::fromStdString(error));
            return;
        }
    }
    for (const std::string& text : session_.LoadComponents())
        showError_(QString::fromStdString(text));
    changed_ = false;
    CFormDialog::accept();
}

void CComponents::reject() {
    // The edits live in the session's table itself: put back what the files held when the dialog opened,
    // or later recalculations would use edits that Comps.csv does not have.
    session_.Components() = opened_;
    changed_ = false;
    CFormDialog::reject();
}

std::function<bool(QWidget*)> ComponentEditorHook(Session& session) {
    auto shownBlock = std::make_shared<ComponentBlock>(ComponentBlock::Gas);
    return [&session, shownBlock](QWidget* parent) {
        CComponents dialog(session, parent);
        dialog.SetShownBlock(*shownBlock);
        dialog.Load();
        const bool ok = dialog.exec() == QDialog::Accepted;
        *shownBlock = dialog.ShownBlock();
        return ok;
    };
}

} // namespace talvex::gui
