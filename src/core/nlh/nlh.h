#pragma once

#include "core/common/calc_inputs.h"
#include "core/common/grid_model.h"
#include "core/common/not_set.h"
#include "core/common/report_settings.h"
#include "core/nlh/degassing.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace talvex {

struct ComponentRecord;
struct Section7Result;
struct CondensateResult;

// One component of the unstable liquid: its mass fractions in the degassing gas, in the degassed
// condensate and in the recombined unstable liquid (%), and its molar mass (g/mol).
struct NlhRow {
    const ComponentRecord* Component = nullptr; // null when the database does not know the name
    std::string NameComp;
    double GD_MassP = NotSet;
    double DC_MassP = NotSet;
    double NLH_MassP = NotSet;
    double NLH_MM = NotSet;
};

// The composition of the unstable liquid, rebuilt from scratch by every recalculation.
struct NlhResult {
    bool calculated = false; // CalcNLH ran since the last reset
    std::vector<NlhRow> rows;
    double GasFactorKg = NotSet;        // kg of gas per tonne of condensate
    double GasMassFraction = NotSet;    // of the degassing gas in the unstable liquid (a fraction)
    double LiquidMassFraction = NotSet; // of the stable liquid
    double SumGD_MassP = NotSet;
    double SumDC_MassP = NotSet;
    double SumNLH_MassP = NotSet;
};

// Empties the rows and sets every value to NotSet.
void ResetNlh(NlhResult& result);

// Joins the component-fractional composition of the gas and the method-A composition of the condensate
// through the gas factor of the degassing. Refuses, with an error in the log and nothing computed, when
// the gas factor or the gas density is not positive; does nothing when neither phase has rows.
void CalcNLH(NlhResult& result, const Section7Result& gas, const CondensateResult& condensate,
             const DegassingParameters& degassing, const CalcInputs& inputs);

// The page "Состав НЖУ": one row per component, the sums, then the characteristics; only the columns
// when nothing was computed.
GridModel NlhPageGrid(const NlhResult& result, int decimals);

// Appends "Table18", "Header_S9" and "Table19" to the report's root when the switch RezNLH is on.
// Numbers with `decimals` places and a decimal comma. -1 (nothing written) without a root element, 0
// otherwise.
int WriteNlhReport(pugi::xml_node root, const NlhResult& result, int decimals,
                   const ReportSettings& switches);

} // namespace talvex
