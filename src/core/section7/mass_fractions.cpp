#include "core/section7/mass_fractions.h"

#include "core/common/case_fold.h"
#include "core/messages/message_log.h"
#include "core/section7/component_issues.h"
#include "core/section7/gas_messages.h"

#include <cmath>

namespace talvex {
namespace {

double SumOfSetFractions(const std::vector<GasLine>& lines) {
    double sum = 0.0;
    for (const GasLine& l : lines)
        if (!IsNotSet(l.massFraction))
            sum += l.massFraction;
    return sum;
}

bool IsUsableDivisor(double sum) {
    return sum != 0.0 && std::isfinite(sum);
}

void PostNoDivisor(MessageLog& log, std::int32_t number, const char* what) {
    PostAnalysisText(log, kMsgError, number,
                     std::string(what) + " равна нулю или не является числом, массовые доли не рассчитаны.");
}

} // namespace

bool Normalise(std::vector<GasLine>& lines) {
    const double sum = SumOfSetFractions(lines);
    if (!IsUsableDivisor(sum))
        return false;
    for (GasLine& l : lines)
        if (!IsNotSet(l.massFraction))
            l.massFraction = l.massFraction / sum * 100;
    return true;
}

void ComputeMassFractions(GasAnalysis& analysis, std::vector<GasLine>& lines, int k, GasContext& ctx) {
    double sum = 0.0;
    bool anyWeighted = false;
    for (GasLine& line : lines) {
        if (!line.component) {
            IssuesOf(ctx.issues, line.name).notInTable = true;
            continue;
        }
        double factor = NotSet;
        if (line.detector == kFidLine)
            factor = line.component->gas.fidFactor;
        else if (line.detector == kTcdLine)
            factor = line.component->gas.tcdFactor;
        else {
            IssuesOf(ctx.issues, line.name).noDetectorType = true;
            continue;
        }
        if (IsNotSet(factor)) {
            IssuesOf(ctx.issues, line.name).noCoefficient = true;
            continue;
        }
        if (!IsNotSet(line.area)) {
            line.weightedArea = line.area * factor;
            sum = sum + line.weightedArea;
            anyWeighted = true;
        }
    }
    if (!anyWeighted)
        return;
    if (!IsUsableDivisor(sum)) {
        PostNoDivisor(ctx.log, analysis.number, "Сумма приведенных площадей пиков");
        return;
    }
    for (GasLine& line : lines) {
        if (IsNotSet(line.weightedArea))
            continue;
        line.massFraction = line.weightedArea / sum * 100;
        if (k >= 0 && line.massFraction > 0)
            analysis.positiveSum[static_cast<std::size_t>(k)] += line.massFraction;
    }
}

void JoinFidTcd(GasAnalysis& analysis, GasContext& ctx) {
    const double sumTcd = SumOfSetFractions(analysis.tcdLines);
    const double sumFid = SumOfSetFractions(analysis.fractionLines);
    double ratios = 0.0;
    int pairs = 0;
    for (const GasLine& t : analysis.tcdLines) {
        if (IsNotSet(t.massFraction) || !t.component)
            continue;
        for (const GasLine& f : analysis.fractionLines) {
            if (IsNotSet(f.massFraction) || !f.component ||
                !EqualsIgnoringCase(f.component->key, t.component->key))
                continue;
            ratios += (f.massFraction / sumFid * 100) / (t.massFraction / sumTcd * 100);
            ++pairs;
        }
    }
    if (pairs == 0) {
        PostAnalysisText(ctx.log, kMsgError, analysis.number,
                         "Не найдены компоненты для сшивки анализов ПИД и ДТП.");
        return;
    }
    const double factor = ratios / pairs;
    if (!std::isfinite(factor)) {
        PostAnalysisText(ctx.log, kMsgError, analysis.number,
                         "Коэффициент сшивки анализов ПИД и ДТП не является числом, неуглеводородные "
                         "компоненты в состав не включены.");
        return;
    }
    analysis.fidTcdFactor = factor;
    for (const GasLine& t : analysis.tcdLines) {
        if (IsNotSet(t.massFraction) || !t.component || t.component->gas.carbonNumber > 0)
            continue;
        GasLine line;
        line.component = t.component;
        line.detector = t.detector;
        line.name = t.name;
        line.massFraction = factor * t.massFraction;
        analysis.componentLines.insert(analysis.componentLines.begin(), line);
        analysis.fractionLines.insert(analysis.fractionLines.begin(), line);
    }
    for (int c = 0; c < kCompositions; ++c)
        if (!Normalise(analysis.Lines(c)))
            PostNoDivisor(ctx.log, analysis.number, "Сумма массовых долей");
}

} // namespace talvex
