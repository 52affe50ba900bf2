#pragma once

#include "gui/pages/table_kind.h"

#include <QWidget>

#include <array>

class QRadioButton;

namespace talvex {
class Session;
}

namespace talvex::gui {

class CGridCtrl;

// A composition page: the radio groups "Состав" and "Результат" above a table. The radios choose the table
// kind; the table is built by the core from the session's current results. On the marking page the
// control with a standard cannot be chosen; choosing it elsewhere disables the composition radios.
class COutTableS7S8 : public QWidget {
    Q_OBJECT
public:
    COutTableS7S8(OutTableMode mode, const Session& session, QWidget* parent = nullptr);

    OutTableMode Mode() const { return mode_; }
    int Composition() const { return composition_; }
    int ResultKind() const { return resultKind_; }
    TableKind Kind() const;

    // Rebuilds the table from the session with the current radio states (after every recalculation).
    void Refresh();

    CGridCtrl* Grid() const { return grid_; }
    QRadioButton* CompositionRadio(int composition) const { return compositionRadios_.at(composition); }
    QRadioButton* ResultRadio(int resultKind) const { return resultRadios_.at(resultKind); }

private:
    void ReadRadios();
    void OnCompositionClicked();
    void OnResultClicked();

    OutTableMode mode_;
    const Session& session_;
    int composition_ = 0;
    int resultKind_ = kResultAnalysis;
    std::array<QRadioButton*, 2> compositionRadios_{};
    std::array<QRadioButton*, 3> resultRadios_{};
    CGridCtrl* grid_;
};

} // namespace talvex::gui
