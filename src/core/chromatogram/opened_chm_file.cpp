#include "core/chromatogram/opened_chm_file.h"

#include "core/common/case_fold.h"

#include <array>

namespace talvex {
namespace {

struct Keyword {
    std::u16string_view word;
    std::int32_t code;
    std::int32_t typeCodePart;
};

// Searched in this order; the first word found wins.
constexpr std::array<Keyword, 3> kDetectorWords{{
    {u"пид", COpenedChmFile::kFid, 1},
    {u"дтп-1", COpenedChmFile::kTcd1, 2},
    {u"дтп-2", COpenedChmFile::kTcd2, 3},
}};

// "окп" comes first, so a control run whose name also says "проба" is still a control.
constexpr std::array<Keyword, 5> kRoleWords{{
    {u"окп", COpenedChmFile::kControlSample, 1000},
    {u"окэ", COpenedChmFile::kControlStandard, 2000},
    {u"проба", COpenedChmFile::kSample, 3000},
    {u"холостая", COpenedChmFile::kBlank, 4000},
    {u"градуиро", COpenedChmFile::kCalibration, 5000},
}};

// " газ " needs a blank on each side so that words merely containing "газ" do not count.
constexpr std::array<Keyword, 3> kMediumWords{{
    {u"гд", COpenedChmFile::kGas, 100000},
    {u" газ ", COpenedChmFile::kGas, 100000},
    {u"дк", COpenedChmFile::kCondensate, 200000},
}};

template <std::size_t N>
const Keyword* FindFirst(const std::array<Keyword, N>& words, const std::u16string& text) {
    for (const Keyword& k : words)
        if (text.find(k.word) != std::u16string::npos)
            return &k;
    return nullptr;
}

// Kind of a role that exists on every gas detector and on the condensate FID: base + 0/1/2 for gas on
// FID/TCD-1/TCD-2, base + 3 for condensate on FID; the negative codes for the rest.
int KindOnAnyDetector(std::int32_t medium, std::int32_t detector, int base, int badGas, int badCondensate) {
    if (medium == COpenedChmFile::kGas) {
        if (detector >= COpenedChmFile::kFid && detector <= COpenedChmFile::kTcd2)
            return base + detector - COpenedChmFile::kFid;
        return badGas;
    }
    if (medium == COpenedChmFile::kCondensate && detector == COpenedChmFile::kFid)
        return base + 3;
    return badCondensate;
}

} // namespace

void COpenedChmFile::DetectType() {
    const std::u16string method = FoldCaseUtf16(passport.method);
    const std::u16string sampleName = FoldCaseUtf16(passport.sampleName);
    role = 0;
    medium = 0;
    typeCode = 0;

    const Keyword* det = FindFirst(kDetectorWords, method);
    if (!det) {
        detector = kDetectorUnknown;
        return;
    }
    detector = det->code;

    const Keyword* roleWord = FindFirst(kRoleWords, sampleName);
    static constexpr Keyword kFlaggedCalibration{u"", kCalibration, 5000};
    if (!roleWord && passport.calibrationFlag != 0)
        roleWord = &kFlaggedCalibration;
    if (!roleWord) {
        detector = kDetectorNoRole;
        return;
    }
    role = roleWord->code;

    const Keyword* med = FindFirst(kMediumWords, method);
    if (!med) {
        medium = kMediumUnknown;
        return;
    }
    medium = med->code;
    typeCode = det->typeCodePart + roleWord->typeCodePart + med->typeCodePart;
}

int COpenedChmFile::GetKind() const {
    const bool gasFid = medium == kGas && detector == kFid;
    const bool condensateFid = medium == kCondensate && detector == kFid;
    switch (role) {
    case kControlSample:
        return KindOnAnyDetector(medium, detector, 1, -2, -3);
    case kControlStandard:
        return KindOnAnyDetector(medium, detector, 5, -4, -5);
    case kBlank:
        return condensateFid ? 9 : gasFid ? 10 : -6;
    case kCalibration:
        return condensateFid ? 11 : -7;
    case kSample:
        return KindOnAnyDetector(medium, detector, 12, -8, -9);
    default:
        return -1;
    }
}

std::string COpenedChmFile::GetTypeLabel() const {
    const char* det = detector == kFid    ? "ПИД, "
                      : detector == kTcd1 ? "ДТП-1, "
                      : detector == kTcd2 ? "ДТП-2, "
                                          : nullptr;
    const char* med = medium == kGas ? "Газ, " : medium == kCondensate ? "ДК, " : nullptr;
    const char* rol = nullptr;
    switch (role) {
    case kSample:
        rol = "анализ";
        break;
    case kBlank:
        rol = "холостая";
        break;
    case kCalibration:
        rol = "град.";
        break;
    case kControlSample:
        rol = "ОК проба";
        break;
    case kControlStandard:
        rol = "ОК эталон";
        break;
    }
    if (!det || !med || !rol)
        return "Тип неизвестен";
    return std::string(det) + med + rol;
}

std::string COpenedChmFile::GetFileName() const {
    const std::string& path = passport.path;
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace talvex
