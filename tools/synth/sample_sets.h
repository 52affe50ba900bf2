#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace talvex::synth {

// A named set of chromatogram files that belong together, as one laboratory session produces them (the
// runs of a degassing-gas analysis with its blank and control runs, a condensate series, ...).
struct SampleSet {
    const char* name;
    const char* description; // one line for the usage text
    // Writes the set's files into `folder` (which exists); deterministic from the seed. False with a
    // one-line reason in *error.
    bool (*write)(const std::filesystem::path& folder, std::uint64_t seed, std::string* error);
};

// Every set talvex-synth knows, in the order the usage text lists them.
const std::vector<SampleSet>& SampleSets();

// The set of that name, or nullptr.
const SampleSet* FindSampleSet(std::string_view name);

} // namespace talvex::synth
