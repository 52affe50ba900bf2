#include "sample_sets.h"

namespace talvex::synth {

const std::vector<SampleSet>& SampleSets() {
    // Each set lives in a file of its own and is listed here once.
    static const std::vector<SampleSet> sets = {};
    return sets;
}

const SampleSet* FindSampleSet(std::string_view name) {
    for (const SampleSet& set : SampleSets())
        if (name == set.name)
            return &set;
    return nullptr;
}

} // namespace talvex::synth
