#include "gui/settings/settings_dlg.h"

#include "core/common/number_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace talvex::gui {
namespace {

constexpr int kShareDelayMs = 1000;

// The arrows step within 1…10; a number typed by hand is limited only when the dialog stores it.
class DecimalsSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override { setValue(LimitDecimals(value() + steps)); }

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

double& ShareValue(::talvex::CSettings& s, int share) {
    switch (share) {
    case CSettingsDlg::kN2:
        return s.Sect7_ConcN2;
    case CSettingsDlg::kO2:
        return s.Sect7_ConcO2;
    default:
        return s.Sect7_ConcCO2;
    }
}

} // namespace

CSettingsDlg::CSettingsDlg(SettingsStore& profile, QWidget* parent) : QDialog(parent), profile_(profile) {
    setWindowTitle(QStringLiteral("Настройки"));
    values_.Load(profile_);

    decimals_ = new DecimalsSpinBox(this);
    decimals_->setRange(-999, 999); // hand-typed values outside 1…10 are limited on OK
    decimals_->setValue(values_.QtyNumAfterDot);
    auto* decimalsRow = new QHBoxLayout;
    decimalsRow->addWidget(new QLabel(QStringLiteral("Отображаемое число знаков после зяпятой:"), this));
    decimalsRow->addWidget(decimals_);
    decimalsRow->addStretch();

    auto* modeBox = new QGroupBox(QStringLiteral("Режим расчета:"), this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    auto* modeGroup = new QButtonGroup(this);
    const char* modeCaptions[] = {"Только газ", "Только жидкость", "Полный расчет"};
    for (int m = 0; m < 3; ++m) {
        auto* button = new QRadioButton(QString::fromUtf8(modeCaptions[m]), modeBox);
        modeGroup->addButton(button, m);
        modeLayout->addWidget(button);
        modes_[static_cast<std::size_t>(m)] = button;
    }
    if (QAbstractButton* checked = modeGroup->button(values_.ModeCalc))
        checked->setChecked(true);

    auto* section7 = new QGroupBox(QStringLiteral("Раздел 7 (Газ сепарации, газ дегазации)"), this);
    auto* section7Layout = new QFormLayout(section7);
    airCorrection_ = new QCheckBox(QStringLiteral("Коррекция состова с учетом воздуха"), section7);
    airCorrection_->setChecked(values_.Sect7_CorrectO2 > 0);
    section7Layout->addRow(airCorrection_);
    const char* shareLabels[] = {"Массовая доля N2 в воздухе (%):", "Массовая доля O2 в воздухе (%):",
                                 "Массовая доля CO2 в воздухе (%):"};
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(kShareDelayMs);
    connect(timer_, &QTimer::timeout, this, &CSettingsDlg::ConvertPendingShare);
    for (int s = 0; s < kShareCount; ++s) {
        auto* edit = new QLineEdit(
            QString::fromStdString(FormatFixed(ShareValue(values_, s), values_.QtyNumAfterDot)), section7);
        section7Layout->addRow(QString::fromUtf8(shareLabels[s]), edit);
        shares_[static_cast<std::size_t>(s)] = edit;
        connect(edit, &QLineEdit::textChanged, this, [this, s] { OnShareChanged(s); });
    }
    EnableShares();
    connect(airCorrection_, &QCheckBox::toggled, this, &CSettingsDlg::EnableShares);

    auto* buttons = new QDialogButtonBox(this);
    // Enter anywhere in the dialog is OK.
    buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(decimalsRow);
    layout->addWidget(modeBox);
    layout->addWidget(section7);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CSettingsDlg::TimerActive() const {
    return timer_->isActive();
}

void CSettingsDlg::EnableShares() {
    values_.Sect7_CorrectO2 = airCorrection_->isChecked() ? 1 : 0;
    for (QLineEdit* edit : shares_)
        edit->setEnabled(values_.Sect7_CorrectO2 > 0);
}

void CSettingsDlg::OnShareChanged(int share) {
    if (selfUpdate_) {
        selfUpdate_ = false;
        pending_ = -1;
        return;
    }
    // One field at a time: typing into another field takes the waiting one over at once, as its timer
    // would.
    if (pending_ >= 0 && pending_ != share)
        ConvertPendingShare();
    pending_ = share;
    timer_->start();
}

void CSettingsDlg::ConvertPendingShare() {
    timer_->stop();
    if (pending_ < 0)
        return;
    QLineEdit* edit = shares_[static_cast<std::size_t>(pending_)];
    if (!edit->isEnabled())
        return;
    const TypedNumber number = ReadTypedNumber(edit->text().toStdString());
    ShareValue(values_, pending_) = number.value;
    const QString shown = QString::fromStdString(number.shown);
    if (shown == edit->text()) {
        pending_ = -1; // nothing to rewrite, so no change comes back to clear it
        return;
    }
    selfUpdate_ = true;
    edit->setText(shown);
    edit->setCursorPosition(static_cast<int>(shown.size()));
}

void CSettingsDlg::accept() {
    ConvertPendingShare(); // a share typed less than a second ago counts too
    decimals_->interpretText();
    values_.QtyNumAfterDot = decimals_->value();
    for (int m = 0; m < 3; ++m)
        if (modes_[static_cast<std::size_t>(m)]->isChecked())
            values_.ModeCalc = m;
    values_.Sect7_CorrectO2 = airCorrection_->isChecked() ? 1 : 0;
    values_.Save(profile_);
    QDialog::accept();
}

bool RunSettingsDialog(SettingsStore& profile, QWidget* parent) {
    CSettingsDlg dialog(profile, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace talvex::gui
