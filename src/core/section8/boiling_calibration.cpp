// Boiling temperature against retention time on the condensate column, from the n-paraffins.
#include "core/chromatogram/opened_chm_file.h"
#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/section8/condensate.h"

#include <cmath>
#include <cstddef>

namespace talvex {
namespace {

// Linear interpolation of x from the source points to the target points; the source must ascend.
double Convert(double x, const std::vector<double>& source, const std::vector<double>& target) {
    const std::size_t n = source.size();
    if (n == 0 || std::isnan(x))
        return NotSet;
    if (x > source[n - 1] || x < source[0])
        return NotSet;
    std::size_t lo = 0;
    std::size_t hi = n - 1;
    for (std::size_t k = 0; k < n && hi - lo > 1; ++k) {
        const std::size_t h = (hi - lo) / 2;
        if (source[hi - h] >= x)
            hi -= h;
        else
            lo += h;
    }
    // A single point, or two points at one source value: no slope; only an unambiguous answer is given.
    if (source[lo] == source[hi])
        return target[lo] == target[hi] ? target[lo] : NotSet;
    const double g = (target[lo] - target[hi]) / (source[lo] - source[hi]);
    const double result = target[lo] - source[lo] * g + g * x;
    return std::isfinite(result) ? result : NotSet;
}

} // namespace

void BoilingCalibration::BuildCalibration(const COpenedChmFile& run, const ComponentTable& components,
                                          const RetentionTimeTable& table) {
    temperatures.clear();
    retentionTimes.clear();
    double lastTime = 0.0;
    double lastTemp = 0.0;
    for (const cmpeek& peak : run.peaks) {
        const ComponentRecord* c = components.FindComponent(peak.name);
        if (!c || IsNotSet(c->liquid.boilingPoint) || c->key.find("н-") == std::string::npos)
            continue;
        temperatures.push_back(c->liquid.boilingPoint);
        retentionTimes.push_back(peak.retentionTime);
        lastTemp = c->liquid.boilingPoint;
        lastTime = peak.retentionTime;
    }
    // The table only continues a calibration the run has started, and only past its last point.
    for (const CompTime& record : table.Records()) {
        if (!record.component)
            continue;
        const double t = record.liquidTime;
        const double temp = record.component->liquid.boilingPoint;
        if (!(temp > lastTemp && t > lastTime))
            continue;
        if (t > 0.0 && !IsNotSet(temp) && !temperatures.empty()) {
            temperatures.push_back(temp);
            retentionTimes.push_back(t);
        }
        lastTemp = temp;
        lastTime = t;
    }
}

double BoilingCalibration::ToRetentionTime(double temperature) const {
    return Convert(temperature, temperatures, retentionTimes);
}

double BoilingCalibration::ToTemperature(double retentionTime) const {
    return Convert(retentionTime, retentionTimes, temperatures);
}

} // namespace talvex
