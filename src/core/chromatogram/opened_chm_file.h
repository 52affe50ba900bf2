#pragma once

#include "core/chromatogram/chm_file.h"

#include <cstdint>
#include <string>

namespace talvex {

// A chromatogram of the chromatogram list: the loaded file plus what the program derives from its passport
// (detector, medium, role) and the analysis it belongs to. Copies copy every field.
class COpenedChmFile : public CChmFile {
public:
    // detector
    static constexpr std::int32_t kFid = 1;
    static constexpr std::int32_t kTcd1 = 2;
    static constexpr std::int32_t kTcd2 = 3;
    static constexpr std::int32_t kDetectorUnknown = 4; // the method names no known detector
    static constexpr std::int32_t kDetectorNoRole = 6;  // detector known, but the sample name names no role
    // role
    static constexpr std::int32_t kSample = 1;
    static constexpr std::int32_t kBlank = 2;
    static constexpr std::int32_t kCalibration = 3;
    static constexpr std::int32_t kControlSample = 4;   // operational control with a sample (ОКП)
    static constexpr std::int32_t kControlStandard = 5; // operational control with a standard (ОКЭ)
    // medium
    static constexpr std::int32_t kGas = 1;        // degassing gas (ГД)
    static constexpr std::int32_t kCondensate = 2; // degassed condensate (ДК)
    static constexpr std::int32_t kMediumUnknown = 3;

    // Given in order of acceptance into the list, never reused; -1 while the record is not in the list.
    std::int32_t fileId = -1;
    // 0 in role and medium means "not determined": DetectType stopped before looking for it.
    std::int32_t role = 0;
    std::int32_t detector = 0;
    std::int32_t medium = 0;
    // Ordering code: medium x 100000 + role rank x 1000 + detector, where the rank follows the search
    // order of the role words (ОКП 1, ОКЭ 2, проба 3, холостая 4, градуиро 5); 0 while not fully recognised.
    std::int32_t typeCode = 0;
    // 0-based analysis number within the medium; -1 when the chromatogram belongs to no analysis.
    std::int32_t analysisNo = -1;
    // The file's path as the list tells files apart (absolute, normalised, case-folded), set when the list
    // accepts the record, so that each later add compares against it instead of folding every path again.
    std::u16string pathKey;

    // Classifies the chromatogram from passport.method and passport.sampleName (case-insensitive) and
    // passport.calibrationFlag; sets detector, role, medium and typeCode.
    void DetectType();

    // 1-15 for the combinations the calculations use, a negative number for every other one.
    int GetKind() const;

    // "ПИД, Газ, анализ" and the like; "Тип неизвестен" when detector, medium or role is not recognised.
    std::string GetTypeLabel() const;

    // The file name without its folder (what the list's "Файл" column shows).
    std::string GetFileName() const;
};

} // namespace talvex
