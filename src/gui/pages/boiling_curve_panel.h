#pragma once

#include "core/curve/composition_curves.h"

#include <QWidget>

class QLabel;
class QSplitter;

namespace talvex {
struct CondensateResult;
struct NlhResult;
} // namespace talvex

namespace talvex::gui {

class BoilingCurvePlot;
class CGridCtrl;

// The boiling curves of the calculation: the picture beside the table of the reported values, with the
// rows that have no place on a curve beneath. The degassed condensate's curves always come from the
// marking by temperature (method A), whatever the condensate page shows.
class CBoilingCurvePanel : public QWidget {
    Q_OBJECT
public:
    explicit CBoilingCurvePanel(QWidget* parent = nullptr);

    // Builds the curves afresh from the results; `decimals` is the settings' number of decimals.
    void Refresh(const talvex::CondensateResult& condensate, const talvex::NlhResult& nlh, int decimals);

    BoilingCurvePlot* Plot() const { return plot_; }
    CGridCtrl* Values() const { return values_; }
    QLabel* Unplaced() const { return unplaced_; }
    QLabel* Note() const { return note_; }
    QSplitter* Splitter() const { return splitter_; }

private:
    QLabel* note_;
    QSplitter* splitter_;
    BoilingCurvePlot* plot_;
    CGridCtrl* values_;
    QLabel* unplaced_;
};

} // namespace talvex::gui
