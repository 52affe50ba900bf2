#pragma once
// One stored result of a control run (ОКП: control with a sample, ОКЭ: control with a certified standard),
// as the results archive keeps it and the control charts read it. A missing number is NaN.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvex::controlchart {

enum class ControlKind { Okp, Oke };
enum class ControlMedium { Gas, Condensate };

// One chart series: kind x medium x composition list x component name. The list is "component" or
// "fractional" for the gas ОКП, "A" or "B" for the condensate ОКП, and empty for ОКЭ.
struct SeriesKey {
    ControlKind kind = ControlKind::Okp;
    ControlMedium medium = ControlMedium::Gas;
    std::string list;
    std::string component;
};

struct ControlObservation {
    SeriesKey key;
    std::int64_t time = 0;   // the control chromatogram's analysis time, seconds since the epoch, UTC
    std::int64_t order = 0;  // the order of archiving (ties of time)
    std::string sample;      // the sample's name as the passport gives it
    double measured = 0.0;   // the control's value, mass %: gas `measured`, condensate `firstValue`
    double reference = 0.0;  // gas `reference`, condensate `secondValue`
    double difference = 0.0; // ОКП as computed: gas `Kk`, condensate `discrepancy`
    double limit = 0.0;      // gas `K`, condensate `limit`; NaN where no real norm range applied
    std::string record;      // the archive record's id; empty for an imported point
    bool imported = false;
    bool excluded = false;       // excluded from the rules by an operator; stays on the chart
    std::string exclusionReason; // with the exclusion
};

// A recorded start of a chart phase: the operator's "Новый этап", or a change of the norm table's or the
// certified value's content recorded by the archive itself.
struct PhaseStart {
    std::int64_t time = 0; // the first point of the phase is the first at or after this time
    std::string reason;
};

// What a chart asks of the archive.
struct SeriesQuery {
    SeriesKey key;
    std::optional<std::int64_t> from; // inclusive, seconds UTC
    std::optional<std::int64_t> to;   // inclusive
    bool includeSuperseded = false;   // points of superseded records too
};

// The archive's side of the charts, implemented by every back end.
class ControlSource {
public:
    virtual ~ControlSource() = default;
    // Points of the series in the order of time, ties in the order of archiving.
    virtual std::vector<ControlObservation> Observations(const SeriesQuery& query) = 0;
    // Phase starts that apply to the series, in the order of time.
    virtual std::vector<PhaseStart> Phases(const SeriesKey& key) = 0;
};

} // namespace talvex::controlchart
