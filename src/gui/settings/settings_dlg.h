#pragma once

#include "core/common/settings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace talvex {
class SettingsStore;
}

namespace talvex::gui {

// The dialog "Настройки": decimals of the result tables, calculation mode and the air correction of the
// degassing gas with the air's mass shares of N2, O2 and CO2. A typed share is taken over one second
// after the last keystroke in its field (then shown normalised: "20,95" becomes "20.95"), at once when
// another share is typed or on OK (Enter); OK writes the settings to the profile, the shares as typed
// (the display alone is rounded to the stored decimals).
class CSettingsDlg : public QDialog {
    Q_OBJECT
public:
    enum Share { kN2, kO2, kCO2, kShareCount };

    // Loads the stored settings from `profile`, which must outlive the dialog.
    explicit CSettingsDlg(SettingsStore& profile, QWidget* parent = nullptr);

    // The values as the dialog holds them (the shares as last taken over).
    const ::talvex::CSettings& Values() const { return values_; }

    // What the one-second timer runs (and OK, and a change in another share): takes over the pending share,
    // if its field is enabled.
    void ConvertPendingShare();
    // The share field waiting for its timer, or -1.
    int PendingShare() const { return pending_; }
    bool TimerActive() const;

    QSpinBox* DecimalsBox() const { return decimals_; }
    QRadioButton* ModeButton(int mode) const { return modes_[static_cast<std::size_t>(mode)]; }
    QCheckBox* AirCorrectionCheck() const { return airCorrection_; }
    QLineEdit* ShareEdit(Share share) const { return shares_[share]; }

    void accept() override;

private:
    void OnShareChanged(int share);
    void EnableShares();

    SettingsStore& profile_;
    ::talvex::CSettings values_;
    int pending_ = -1;
    bool selfUpdate_ = false;

    QSpinBox* decimals_ = nullptr;
    std::array<QRadioButton*, 3> modes_{};
    QCheckBox* airCorrection_ = nullptr;
    std::array<QLineEdit*, kShareCount> shares_{};
    QTimer* timer_ = nullptr;
};

// Runs the settings dialog modally; true when the operator stored new settings with OK.
bool RunSettingsDialog(SettingsStore& profile, QWidget* parent);

} // namespace talvex::gui
