#include "gui/pages/out_table_s7s8.h"

#include "core/app/session.h"
#include "gui/grid/grid_ctrl.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace talvex::gui {
namespace {

QString FirstCompositionCaption(OutTableMode mode) {
    return mode == OutTableMode::Gas ? QStringLiteral("Компонентный") : QStringLiteral("Метод A (по t°С)");
}

QString SecondCompositionCaption(OutTableMode mode) {
    return mode == OutTableMode::Gas ? QStringLiteral("Компонентно-фракционный")
                                     : QStringLiteral("Метод Б (по ЧАУ)");
}

} // namespace

COutTableS7S8::COutTableS7S8(OutTableMode mode, const Session& session, QWidget* parent)
    : QWidget(parent), mode_(mode), session_(session), grid_(new CGridCtrl(this)) {
    auto* compositionBox = new QGroupBox(QStringLiteral("Состав"), this);
    auto* compositionLayout = new QVBoxLayout(compositionBox);
    auto* compositionGroup = new QButtonGroup(this);
    compositionRadios_ = {new QRadioButton(FirstCompositionCaption(mode), compositionBox),
                          new QRadioButton(SecondCompositionCaption(mode), compositionBox)};
    for (QRadioButton* radio : compositionRadios_) {
        compositionLayout->addWidget(radio);
        compositionGroup->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, &COutTableS7S8::OnCompositionClicked);
    }
    compositionLayout->addStretch();

    auto* resultBox = new QGroupBox(QStringLiteral("Результат"), this);
    auto* resultLayout = new QVBoxLayout(resultBox);
    auto* resultGroup = new QButtonGroup(this);
    resultRadios_ = {new QRadioButton(QStringLiteral("Анализ"), resultBox),
                     new QRadioButton(QStringLiteral("Контроль с применением ОК (проба)"), resultBox),
                     new QRadioButton(QStringLiteral("Контроль с применением ОК (ГСО)"), resultBox)};
    for (QRadioButton* radio : resultRadios_) {
        resultLayout->addWidget(radio);
        resultGroup->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, &COutTableS7S8::OnResultClicked);
    }
    // The table matters more than the radios: keep their boxes tight.
    for (QVBoxLayout* box : {compositionLayout, resultLayout}) {
        box->setContentsMargins(8, 2, 8, 2);
        box->setSpacing(2);
    }
    // The marking has no control with a standard.
    resultRadios_[kResultControlStandard]->setEnabled(mode != OutTableMode::Marking);
    compositionRadios_[0]->setChecked(true);
    resultRadios_[kResultAnalysis]->setChecked(true);

    auto* radios = new QHBoxLayout;
    radios->addWidget(compositionBox);
    radios->addWidget(resultBox);
    radios->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(radios);
    layout->addWidget(grid_, 1);
    Refresh();
}

TableKind COutTableS7S8::Kind() const {
    // The radios always give a kind; the first is the fallback of a state they cannot reach.
    return TableKindOf(static_cast<int>(mode_), resultKind_, composition_).value_or(TableKind::AnalysisFirst);
}

void COutTableS7S8::ReadRadios() {
    composition_ = compositionRadios_[1]->isChecked() ? 1 : 0;
    resultKind_ = kResultAnalysis;
    for (int i = 0; i < static_cast<int>(resultRadios_.size()); ++i)
        if (resultRadios_[static_cast<std::size_t>(i)]->isChecked())
            resultKind_ = i;
}

void COutTableS7S8::OnCompositionClicked() {
    ReadRadios();
    Refresh();
}

void COutTableS7S8::OnResultClicked() {
    ReadRadios();
    const bool selectable = CompositionSelectable(resultKind_);
    for (QRadioButton* radio : compositionRadios_)
        radio->setEnabled(selectable);
    Refresh();
}

void COutTableS7S8::Refresh() {
    const int decimals = session_.StoredSettings().QtyNumAfterDot;
    const TableKind kind = Kind();
    switch (mode_) {
    case OutTableMode::Gas:
        grid_->SetGrid(session_.GasGrid(kind, decimals));
        break;
    case OutTableMode::Condensate:
        grid_->SetGrid(session_.CondensateGrid(kind, decimals));
        break;
    case OutTableMode::Marking:
        grid_->SetGrid(session_.MarkingGrid(kind, decimals));
        break;
    }
}

} // namespace talvex::gui
