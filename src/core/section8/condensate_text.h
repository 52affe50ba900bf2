#pragma once

#include "core/common/format.h"
#include "core/section8/condensate.h"

#include <cstdint>
#include <string>

namespace talvex {

// Pieces the condensate pages and the report share. A formatter is FormatValue for the pages and
// FormatReportValue for the report.
using ValueFormatter = std::string (*)(double value, int decimals);

// The entry's mass fraction, "---" without entry.
std::string MassFractionText(const CondensateEntry* entry, int decimals, ValueFormatter format = FormatValue);
// The norm's repeatability limit and whether the spread keeps to it; "---" without an applicable norm.
std::string RepeatabilityText(const CondensateRow& row, int decimals, ValueFormatter format = FormatValue);
std::string RepeatabilityVerdict(const CondensateRow& row);
// "Да" or "Нет" by the verdict when both the discrepancy and the limit were computed, else "---".
std::string ControlVerdict(const ControlItem& item);
// A component of the certified mixture listed under its boiling fraction (no number, no verdict).
bool IsOkeMemberLine(const ControlItem& item);

// Values of the analysis with this number, NotSet when there is none.
double AnalysisMassSum(const CondensateResult& result, std::int32_t analysisNo, MarkingMethod method);
double AnalysisMolarMass(const CondensateResult& result, std::int32_t analysisNo, MarkingMethod method);
double MethodTotal(const CondensateResult& result, MarkingMethod method);
double MethodAverageMolarMass(const CondensateResult& result, MarkingMethod method);

} // namespace talvex
