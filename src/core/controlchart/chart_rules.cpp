// The rules of the control charts. Each is checked at every point of the rules' sequence (the points of
// one phase that are not excluded) against the points before it in that sequence, so a signal is
// reported at every point that completes its pattern.
#include "core/controlchart/control_chart.h"

#include <cstdlib>

namespace talvex::controlchart {
namespace {

constexpr std::size_t kRunRule2 = 9;
constexpr std::size_t kRunRule3 = 6;
constexpr std::size_t kWindowRule4 = 3;
constexpr std::size_t kCountRule4 = 2;
constexpr std::size_t kWindowRule5 = 5;
constexpr std::size_t kCountRule5 = 4;
constexpr std::size_t kRunRule6 = 8;

// A line with the side it bounds: values beyond it have `sign` (+1 above, -1 below).
struct SideLine {
    double value = 0.0;
    int sign = 1;
};

// The one-sided chart watches only its upper lines; the signed chart both.
std::vector<SideLine> Sides(ControlKind kind, const std::vector<double>& ascending) {
    std::vector<SideLine> sides;
    if (ascending.empty())
        return sides;
    if (kind == ControlKind::Oke && ascending.size() >= 2)
        sides.push_back({ascending.front(), -1});
    sides.push_back({ascending.back(), +1});
    return sides;
}

class RuleChecker {
public:
    RuleChecker(ControlKind kind, const ChartLines& lines, const std::vector<ChartPoint>& points,
                std::vector<Signal>& out)
        : kind_(kind), lines_(lines), points_(points), out_(out), action_(Sides(kind, lines.action)),
          warning_(Sides(kind, lines.warning)), half_(Sides(kind, lines.halfWarning)) {}

    // `seq` holds the rule points of the current phase; its last one is the point to check.
    void Check(const std::vector<std::size_t>& seq) {
        const double q = Q(seq.back());
        for (const SideLine& line : action_)
            if (Beyond(q, line.value, line.sign))
                Emit(1, {seq.back()});
        CheckRun(seq);
        CheckTrend(seq);
        CheckWindow(seq, 4, warning_, kWindowRule4, kCountRule4);
        CheckWindow(seq, 5, half_, kWindowRule5, kCountRule5);
        if (kind_ == ControlKind::Oke)
            CheckAlternating(seq);
    }

private:
    double Q(std::size_t index) const { return points_[index].q; }

    void Emit(int rule, std::vector<std::size_t> points) { out_.push_back({rule, std::move(points)}); }

    static std::vector<std::size_t> Tail(const std::vector<std::size_t>& seq, std::size_t n) {
        return {seq.end() - static_cast<std::ptrdiff_t>(n), seq.end()};
    }

    // The side of the centre line; 0 on it, and for the one-sided chart 0 below it too.
    int SideOfCentre(double q) const {
        if (Beyond(q, lines_.centre, +1))
            return +1;
        if (kind_ == ControlKind::Oke && Beyond(q, lines_.centre, -1))
            return -1;
        return 0;
    }

    void CheckRun(const std::vector<std::size_t>& seq) {
        if (seq.size() < kRunRule2)
            return;
        const int side = SideOfCentre(Q(seq.back()));
        if (side == 0)
            return;
        for (std::size_t k = seq.size() - kRunRule2; k < seq.size(); ++k)
            if (SideOfCentre(Q(seq[k])) != side)
                return;
        Emit(2, Tail(seq, kRunRule2));
    }

    void CheckTrend(const std::vector<std::size_t>& seq) {
        if (seq.size() < kRunRule3)
            return;
        for (const int sign : {+1, -1}) {
            if (sign < 0 && kind_ == ControlKind::Okp)
                break;
            bool trend = true;
            for (std::size_t k = seq.size() - kRunRule3 + 1; k < seq.size() && trend; ++k)
                trend = Beyond(Q(seq[k]), Q(seq[k - 1]), sign);
            if (trend)
                Emit(3, Tail(seq, kRunRule3));
        }
    }

    // m of n: the point itself beyond a line, and with it at least `count` of the last `window` points
    // beyond the same line (fewer points at the start of a phase form a shorter window).
    void CheckWindow(const std::vector<std::size_t>& seq, int rule, const std::vector<SideLine>& lines,
                     std::size_t window, std::size_t count) {
        for (const SideLine& line : lines) {
            if (!Beyond(Q(seq.back()), line.value, line.sign))
                continue;
            const std::size_t from = seq.size() > window ? seq.size() - window : 0;
            std::vector<std::size_t> beyond;
            for (std::size_t k = from; k < seq.size(); ++k)
                if (Beyond(Q(seq[k]), line.value, line.sign))
                    beyond.push_back(seq[k]);
            if (beyond.size() >= count)
                Emit(rule, std::move(beyond));
        }
    }

    // Rule 6: a run outside the band of the half-warning lines that visits both sides of the centre.
    void CheckAlternating(const std::vector<std::size_t>& seq) {
        if (seq.size() < kRunRule6 || half_.size() < 2)
            return;
        bool below = false;
        bool above = false;
        for (std::size_t k = seq.size() - kRunRule6; k < seq.size(); ++k) {
            const double q = Q(seq[k]);
            if (Beyond(q, half_[1].value, +1))
                above = true;
            else if (Beyond(q, half_[0].value, -1))
                below = true;
            else
                return;
        }
        if (above && below)
            Emit(6, Tail(seq, kRunRule6));
    }

    ControlKind kind_;
    const ChartLines& lines_;
    const std::vector<ChartPoint>& points_;
    std::vector<Signal>& out_;
    std::vector<SideLine> action_;
    std::vector<SideLine> warning_;
    std::vector<SideLine> half_;
};

} // namespace

std::vector<Signal> FindSignals(ControlKind kind, const ChartLines& lines,
                                const std::vector<ChartPoint>& points) {
    std::vector<Signal> found;
    RuleChecker checker(kind, lines, points, found);
    std::vector<std::size_t> seq;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!seq.empty() && points[seq.back()].phase != points[i].phase)
            seq.clear();
        if (points[i].observation.excluded)
            continue;
        seq.push_back(i);
        checker.Check(seq);
    }
    return found;
}

} // namespace talvex::controlchart
