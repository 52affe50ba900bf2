#include "sample_sets.h"

#include "condensate_set.h"
#include "gas_set.h"

namespace talvex::synth {

const std::vector<SampleSet>& SampleSets() {
    // Each set lives in a file of its own and is listed here once.
    static const std::vector<SampleSet> sets = {
        {"gas", "degassing gas: blank, three analyses on FID, TCD-1 and TCD-2, both controls", WriteGasSet},
        {"condensate", "degassed condensate: blank, calibration, three analyses, both controls",
         WriteCondensateSet},
    };
    return sets;
}

const SampleSet* FindSampleSet(std::string_view name) {
    for (const SampleSet& set : SampleSets())
        if (name == set.name)
            return &set;
    return nullptr;
}

} // namespace talvex::synth
