#include "core/section7/air_correction.h"

#include "core/common/case_fold.h"
#include "core/common/format.h"
#include "core/common/number_text.h"
#include "core/messages/message_log.h"
#include "core/section7/gas_messages.h"

#include <algorithm>
#include <cmath>

namespace talvex {
namespace {

// Reduces the line by `ratio` x the oxygen fraction (never below 0) and returns what is left.
double ReduceByAir(GasLine& line, double ratio, double xO2) {
    double x = line.massFraction - ratio * xO2;
    if (!(x > 0.0))
        x = 0.0;
    line.massFraction = x;
    return x;
}

} // namespace

void CorrectAir(GasAnalysis& analysis, std::vector<GasLine>& lines, GasContext& ctx) {
    const CSettings& s = ctx.settings;
    if (s.Sect7_CorrectO2 <= 0)
        return;
    const double cN2 = s.Sect7_ConcN2;
    const double cO2 = s.Sect7_ConcO2;
    const double cCO2 = s.Sect7_ConcCO2;

    double total = 0.0;
    GasLine* nitrogen = nullptr;
    GasLine* oxygen = nullptr;
    GasLine* carbonDioxide = nullptr;
    for (GasLine& line : lines) {
        if (!line.component)
            continue;
        const std::string& key = line.component->key;
        const bool hydrocarbon = line.component->gas.carbonNumber > 0;
        if (!hydrocarbon && EqualsIgnoringCase(key, "Азот"))
            nitrogen = &line;
        else if (!hydrocarbon && EqualsIgnoringCase(key, "Кислород"))
            oxygen = &line;
        else if (!hydrocarbon && EqualsIgnoringCase(key, "Диоксид углерода"))
            carbonDioxide = &line;
        else if (line.massFraction > 0)
            total += line.massFraction;
    }
    // An oxygen line without a mass fraction (no coefficient) cannot serve as the tracer either.
    if (!oxygen || IsNotSet(oxygen->massFraction)) {
        PostAnalysisText(ctx.log, kMsgInfo, analysis.number,
                         "Кислород в пробе не найден, коррекция состава не требуется.\r\n\t" +
                             AirFormulaReference("7.8"));
        return;
    }
    // The shares in air are relative to oxygen: without an oxygen share there is nothing to scale by.
    if (!(cO2 > 0.0) || !std::isfinite(cN2 / cO2) || !std::isfinite(cCO2 / cO2)) {
        PostAnalysisText(ctx.log, kMsgError, analysis.number,
                         "Доля кислорода в воздухе для коррекции состава не задана (0%), коррекция состава "
                         "не выполнена.\r\n\t" +
                             AirFormulaReference("7.8"));
        return;
    }
    const double rN2 = cN2 / cO2;
    const double rCO2 = cCO2 / cO2;
    const double xO2 = oxygen->massFraction;
    const double air = (rCO2 + rN2 + cO2 / cO2) * xO2;
    if (air >= kAirLimit)
        PostAnalysisText(ctx.log, kMsgError, analysis.number,
                         "В пробе содержится " + FormatFixed(air, 1) +
                             "% воздуха, результат определения полного состава " +
                             "газа с неуглеводородными и углеводородными компонентами является "
                             "недостоверным.\r\n\t" +
                             AirFormulaReference("7.12"));
    if (nitrogen)
        total += ReduceByAir(*nitrogen, rN2, xO2);
    else
        PostAnalysisText(ctx.log, kMsgInfo, analysis.number,
                         "Азот в пробе не найден.\r\n\t" + AirFormulaReference("7.9"));
    if (carbonDioxide)
        total += ReduceByAir(*carbonDioxide, rCO2, xO2);
    else
        PostAnalysisText(ctx.log, kMsgInfo, analysis.number,
                         "Диоксид углерода в пробе не найден.\r\n\t" + AirFormulaReference("7.10"));
    oxygen->massFraction = 0;

    std::vector<GasLine> kept;
    kept.reserve(lines.size());
    for (GasLine& line : lines) {
        if (line.component && !(line.massFraction > 0))
            continue;
        if (line.component)
            line.massFraction = line.massFraction / total * 100;
        kept.push_back(std::move(line));
    }
    lines = std::move(kept);
}

} // namespace talvex
