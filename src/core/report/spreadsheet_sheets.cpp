#include "core/report/spreadsheet_sheets.h"

#include "core/common/not_set.h"
#include "core/components/component_record.h"
#include "core/nlh/nlh.h"
#include "core/section7/gas_types.h"
#include "core/section8/condensate.h"

#include <string>

namespace talvex {
namespace {

AutomationCell Missing() {
    return std::string(kMissingCell);
}

AutomationCell AboveZero(double v) {
    return v > 0 ? AutomationCell(v) : Missing();
}

AutomationCell ZeroOrAbove(double v) {
    return v >= 0 ? AutomationCell(v) : Missing();
}

AutomationCell Known(double v) {
    return IsNotSet(v) ? Missing() : AutomationCell(v);
}

AutomationCell MolarMass(const NlhRow& row) {
    return row.Component ? Known(row.Component->gas.molarMass) : Missing();
}

template <typename Row, typename Cells> SheetContent Listed(const std::vector<Row>& rows, Cells cells) {
    SheetContent content;
    for (const Row& row : rows) {
        content.names.push_back({row.name});
        content.values.push_back(cells(row));
    }
    return content;
}

} // namespace

SheetContent CondensateSheet(const CondensateResult& condensate) {
    return Listed(condensate.rowsA, [](const CondensateRow& row) {
        return std::vector<AutomationCell>{AboveZero(row.average), ZeroOrAbove(row.accuracy)};
    });
}

SheetContent GasSheet(const Section7Result& gas) {
    return Listed(gas.rows[kFractionComposition], [](const GasRow& row) {
        return std::vector<AutomationCell>{AboveZero(row.average), ZeroOrAbove(row.deltaAbs)};
    });
}

SheetContent NlhSheet(const NlhResult& nlh) {
    SheetContent content;
    for (const NlhRow& row : nlh.rows) {
        content.names.push_back({row.NameComp});
        content.values.push_back({AboveZero(row.NLH_MassP), std::monostate{}});
    }
    return content;
}

SheetContent NlhCalculationSheet(const NlhResult& nlh, const DegassingParameters& degassing,
                                 double gasDensity) {
    SheetContent content;
    for (const NlhRow& row : nlh.rows) {
        content.names.push_back({row.NameComp});
        content.values.push_back({Known(row.GD_MassP), MolarMass(row), Known(row.DC_MassP), MolarMass(row),
                                  Known(row.NLH_MassP), Known(row.NLH_MM)});
    }
    content.sums = {{Known(nlh.SumGD_MassP), std::monostate{}, Known(nlh.SumDC_MassP), std::monostate{},
                     Known(nlh.SumNLH_MassP), std::monostate{}}};

    // A value derived from a missing or zero density is missing too, never a huge or infinite number.
    const bool densityKnown = gasDensity > 0 && !IsNotSet(gasDensity);
    const double factor = degassing.GasFactor;
    double perCubicMetre = NotSet, perKilogram = NotSet;
    if (degassing.Method == MethodB) {
        perKilogram = factor;
        if (densityKnown)
            perCubicMetre = factor / gasDensity;
    } else {
        perCubicMetre = factor;
        if (densityKnown)
            perKilogram = factor * gasDensity;
    }
    double gasShare = NotSet, liquidShare = NotSet, total = NotSet;
    if (!IsNotSet(perKilogram) && perKilogram + 1000 != 0) {
        gasShare = perKilogram / (perKilogram + 1000);
        liquidShare = 1 - gasShare;
        total = gasShare + liquidShare;
    }
    const AutomationCell empty;
    content.header = {
        {std::string("м³/т"), Known(perCubicMetre), empty, empty, empty, empty},
        {std::string("кг/т"), Known(perKilogram), empty, empty, empty, empty},
        {Known(gasDensity), empty, empty, empty, empty, empty},
        {Known(gasShare), empty, Known(liquidShare), empty, Known(total), empty},
    };
    return content;
}

} // namespace talvex
