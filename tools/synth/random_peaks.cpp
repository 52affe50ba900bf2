// A plausible peak list for a synthetic run: the layout RandomPeaks draws from a seed.
#include "signal_generator.h"

#include "portable_random.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace talvex::synth {
namespace {

// Light hydrocarbons and n-paraffins in the order they leave a non-polar column.
constexpr std::array<std::string_view, 18> kNames = {
    "Метан",     "Этан",      "Пропан",     "изо-Бутан",    "н-Бутан",      "изо-Пентан",
    "н-Пентан",  "н-Гексан",  "н-Гептан",   "н-Октан",      "н-Нонан",      "н-Декан",
    "н-Ундекан", "н-Додекан", "н-Тридекан", "н-Тетрадекан", "н-Пентадекан", "н-Гексадекан"};

enum class Group { Single, Chain, Rider };

struct Layout {
    PortableRandom& random;
    const RandomPeakOptions& options;
    std::vector<PeakPlan>& out;

    double Height() {
        const double u = random.Uniform();
        return options.minHeight + (options.maxHeight - options.minHeight) * u * u * u;
    }

    void Single(double slotStart, double width) {
        PeakPlan p;
        p.sigma = width * random.Uniform(0.04, 0.08);
        p.apexTime = slotStart + width * (0.5 + random.Uniform(-0.15, 0.15));
        p.height = Height();
        out.push_back(p);
    }

    // k peaks evenly spaced, each within 0.9 of a spacing of its neighbours' apexes, so they overlap.
    void Chain(double slotStart, double width, std::size_t k) {
        const double d = width / static_cast<double>(k + 1);
        for (std::size_t j = 0; j < k; ++j) {
            PeakPlan p;
            p.sigma = d * random.Uniform(0.2, 0.25);
            p.apexTime = slotStart + d * (static_cast<double>(j + 1) + random.Uniform(-0.1, 0.1));
            p.height = Height();
            p.linkedToNext = j + 1 < k;
            out.push_back(p);
        }
    }

    // A host and a small peak on one of its flanks, wholly inside the host's bounds. The rider sits near
    // the host's inflection point, where the host is nearly straight, so that a straight baseline under the
    // rider leaves it with about its own area.
    void Rider(double slotStart, double width) {
        PeakPlan host;
        host.sigma = width * random.Uniform(0.05, 0.08);
        host.apexTime = slotStart + width * (0.5 + random.Uniform(-0.1, 0.1));
        host.height = Height();
        PeakPlan rider;
        const double side = random.Chance(0.5) ? 1.0 : -1.0;
        rider.apexTime = host.apexTime + side * host.sigma * random.Uniform(0.9, 1.1);
        rider.sigma = host.sigma * random.Uniform(0.1, 0.15);
        rider.height = host.height * random.Uniform(0.1, 0.25);
        rider.host = out.size();
        out.push_back(host);
        out.push_back(rider);
    }
};

std::vector<std::pair<Group, std::size_t>> DrawGroups(PortableRandom& random, std::size_t count) {
    std::vector<std::pair<Group, std::size_t>> groups;
    for (std::size_t left = count; left > 0;) {
        const double r = random.Uniform();
        if (left >= 2 && r < 0.15) {
            groups.emplace_back(Group::Rider, 2);
        } else if (left >= 2 && r < 0.35) {
            groups.emplace_back(Group::Chain, std::min<std::size_t>(left, 2 + random.Below(2)));
        } else {
            groups.emplace_back(Group::Single, 1);
        }
        left -= groups.back().second;
    }
    return groups;
}

// Names go to peaks in time order, each used once; riders are named less often.
void Name(PortableRandom& random, std::vector<PeakPlan>& peaks) {
    std::size_t next = 0;
    for (PeakPlan& p : peaks) {
        if (next < kNames.size() && random.Chance(p.host ? 0.3 : 0.7))
            p.name = kNames[next++];
    }
}

} // namespace

std::vector<PeakPlan> RandomPeaks(std::uint64_t seed, std::size_t count, const RandomPeakOptions& options) {
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(options.runStart) || !finite(options.runEnd) || !(options.runStart < options.runEnd) ||
        !finite(options.minHeight) || !finite(options.maxHeight) || !(options.minHeight > 0.0) ||
        !(options.minHeight <= options.maxHeight))
        throw std::invalid_argument("random peaks need a run with start < end and 0 < min height <= max");
    PortableRandom random(seed);
    const auto groups = DrawGroups(random, count);
    std::vector<PeakPlan> peaks;
    peaks.reserve(count);
    Layout layout{random, options, peaks};
    const double run = options.runEnd - options.runStart;
    const double usableStart = options.runStart + 0.03 * run;
    const double width = 0.94 * run / static_cast<double>(std::max<std::size_t>(groups.size(), 1));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const double slotStart = usableStart + width * static_cast<double>(g);
        switch (groups[g].first) {
        case Group::Single:
            layout.Single(slotStart, width);
            break;
        case Group::Chain:
            layout.Chain(slotStart, width, groups[g].second);
            break;
        case Group::Rider:
            layout.Rider(slotStart, width);
            break;
        }
    }
    Name(random, peaks);
    return peaks;
}

} // namespace talvex::synth
