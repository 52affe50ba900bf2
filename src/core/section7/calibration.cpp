#include "core/section7/calibration.h"

#include "core/chromatogram/opened_chm_file.h"
#include "core/common/format.h"
#include "core/common/number_text.h"
#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"

#include <algorithm>
#include <string_view>

namespace talvex {
namespace {

bool IsNParaffin(const ComponentRecord* component) {
    constexpr std::string_view kPrefix = "н-";
    return component && std::string_view(component->key).starts_with(kPrefix);
}

void PostUncoveredRun(MessageLog& log, double lastTime) {
    log.PostText(kMsgError, "Градуировочный график для ГД охватывает не всю хроматограмму!"
                            "\r\n\tПики выходящие после " +
                                FormatFixed(lastTime, 4) + " мин не могут быть распределены во фракции.");
    log.PostText(kMsgInfo, "В случаи отсутствия на хроматограмме необходимых для градуировки н-Парафинов"
                           "\r\n\tих можно добавить в окне \"Времена выхода н-Парафинов\"."
                           "\r\n\tОткрыть данное окно можно нажатием на кнопку \"Времена выхода\" в главном "
                           "окне программы.");
}

// Interpolation needs x values that rise; the search would otherwise pick arbitrary segments.
void CheckRising(const GasAnalysis& analysis, MessageLog& log) {
    const auto& p = analysis.calibration;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (!(p[i - 1].retentionTime < p[i].retentionTime) || !(p[i - 1].boilingPoint < p[i].boilingPoint)) {
            log.PostText(kMsgError,
                         StrPrintf("Анализ-%d.\r\n\tГрадуировочный график для ГД не возрастает: "
                                   "н-Парафины \"%s\" (%s мин) и \"%s\" (%s мин).",
                                   analysis.number + 1, p[i - 1].component->key.c_str(),
                                   FormatFixed(p[i - 1].retentionTime, 4).c_str(),
                                   p[i].component->key.c_str(), FormatFixed(p[i].retentionTime, 4).c_str()));
            return;
        }
    }
}

} // namespace

void Calibrate(GasAnalysis& analysis, const ComponentTable& components, const RetentionTimeTable& table,
               MessageLog& log) {
    auto& entries = analysis.fid.entries;
    std::sort(entries.begin(), entries.end(),
              [](const PeakEntry& a, const PeakEntry& b) { return a.retentionTime < b.retentionTime; });
    analysis.calibration.clear();
    double maxRt = 0.0;
    for (const PeakEntry& e : entries)
        maxRt = std::max(maxRt, e.retentionTime);
    for (const PeakEntry& e : entries)
        if (IsNParaffin(e.component))
            analysis.calibration.push_back({e.component, e.component->gas.boilingPoint, e.retentionTime});

    if (analysis.calibration.empty() || analysis.calibration.back().retentionTime < maxRt) {
        const std::size_t before = analysis.calibration.size();
        for (const CompTime& row : table.Records()) {
            if (!(row.gasTime > maxRt))
                continue;
            if (const ComponentRecord* c = components.FindComponent(row.componentName))
                analysis.calibration.push_back({c, c->gas.boilingPoint, row.gasTime});
        }
        if (analysis.calibration.size() == before) {
            // Without any n-paraffin no peak can be placed: quote the start of the run.
            const double last = before > 0                  ? analysis.calibration.back().retentionTime
                                : analysis.fid.chromatogram ? analysis.fid.chromatogram->signal.startTime
                                                            : 0.0;
            PostUncoveredRun(log, last);
        }
    }
    CheckRising(analysis, log);
}

double Interpolate(std::span<const CalibrationPoint> points, double c, CalibrationDirection direction) {
    const bool toBoiling = direction == CalibrationDirection::ToBoilingPoint;
    const auto x = [&](std::size_t i) {
        return toBoiling ? points[i].retentionTime : points[i].boilingPoint;
    };
    const auto y = [&](std::size_t i) {
        return toBoiling ? points[i].boilingPoint : points[i].retentionTime;
    };
    const std::size_t n = points.size();
    if (n < 1 || IsNotSet(c))
        return NotSet;
    std::size_t lo = 0;
    std::size_t hi = n - 1;
    for (std::size_t k = 0; k < n; ++k) {
        if (c > x(hi) || c < x(lo))
            return NotSet;
        if (hi - lo < 2)
            break;
        const std::size_t d = (hi - lo) / 2;
        if (c <= x(hi - d))
            hi -= d;
        else
            lo += d;
    }
    if (hi - lo > 1)
        return NotSet;
    if (x(lo) == x(hi)) // a single point, or two points at the same x
        return y(lo) == y(hi) ? y(lo) : NotSet;
    const double f = (y(lo) - y(hi)) / (x(lo) - x(hi));
    return y(lo) - x(lo) * f + f * c;
}

} // namespace talvex
