#include "gui/pages/boiling_curve_panel.h"

#include "core/curve/curve_values.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/plot/boiling_curve_plot.h"

#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

namespace talvex::gui {
namespace {

// The table of values: a caption column and one column per curve, each as wide as its caption needs.
talvex::GridModel ValuesGrid(const talvex::CompositionCurves& condensate,
                             const talvex::CompositionCurves& nlh, int decimals) {
    talvex::GridModel grid;
    grid.columns.push_back({"Показатель", 150});
    grid.columns.push_back({"ДК", 70});
    for (const talvex::BoilingCurve& c : condensate.analyses)
        grid.columns.push_back({"ДК, Ан-" + std::to_string(c.analysis), 70});
    grid.columns.push_back({"НЖУ", 70});
    for (const talvex::CurveValueRow& row : talvex::CurveValueRows(condensate, nlh, decimals)) {
        talvex::GridRow out;
        out.cells.push_back(row.title);
        out.cells.push_back(row.condensate);
        out.cells.insert(out.cells.end(), row.analyses.begin(), row.analyses.end());
        out.cells.push_back(row.nlh);
        grid.rows.push_back(std::move(out));
    }
    return grid;
}

QString UnplacedLine(const char* what, const talvex::CompositionCurves& curves, int decimals) {
    if (!curves.result || curves.result->unplaced.empty())
        return {};
    return QStringLiteral("%1: %2").arg(
        QString::fromUtf8(what), QString::fromStdString(talvex::UnplacedText(*curves.result, decimals)));
}

} // namespace

CBoilingCurvePanel::CBoilingCurvePanel(QWidget* parent)
    : QWidget(parent), note_(new QLabel(this)), splitter_(new QSplitter(Qt::Horizontal, this)),
      plot_(new BoilingCurvePlot(splitter_)), values_(new CGridCtrl(splitter_)), unplaced_(new QLabel(this)) {
    note_->setText(
        QStringLiteral("Кривая разгонки. ДК — по разметке методом A (по t°С), НЖУ — по составу НЖУ."));
    note_->setWordWrap(true);
    unplaced_->setWordWrap(true);
    unplaced_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    splitter_->addWidget(plot_);
    splitter_->addWidget(values_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 1);
    // The picture a little wider than the table, which then shows the result and two analyses.
    splitter_->setSizes({560, 440});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(note_);
    layout->addWidget(splitter_, 1);
    layout->addWidget(unplaced_);
}

void CBoilingCurvePanel::Refresh(const talvex::CondensateResult& condensate, const talvex::NlhResult& nlh,
                                 int decimals) {
    talvex::CompositionCurves dk = talvex::CondensateCurves(condensate);
    talvex::CompositionCurves liquid = talvex::NlhCurves(nlh);
    values_->SetGrid(ValuesGrid(dk, liquid, decimals));
    QStringList lines;
    for (const QString& line : {UnplacedLine("Не на кривой ДК (нет температуры кипения)", dk, decimals),
                                UnplacedLine("Не на кривой НЖУ (нет температуры кипения)", liquid, decimals)})
        if (!line.isEmpty())
            lines << line;
    unplaced_->setText(lines.join(QLatin1Char('\n')));
    unplaced_->setVisible(!lines.isEmpty());
    plot_->setCurves(std::move(dk), std::move(liquid));
}

} // namespace talvex::gui
