#include "core/messages/section_msg.h"

#include "core/chromatogram/opened_chm_file.h"

namespace talvex {
namespace {

enum Variant { kNone = 0, kUnnamedPeaks = 1, kMissingPeak = 2, kWrongGroup = 3, kFreeText = 4 };

template <class Msg>
std::unique_ptr<Msg> CreateInRange(std::int32_t id, std::int32_t first, std::int32_t last) {
    if (id < first || id > last)
        return nullptr;
    auto msg = std::make_unique<Msg>();
    msg->id = id;
    return msg;
}

} // namespace

void SectionMsg::SetChromatogram(const COpenedChmFile& chm) {
    chromatogram = MsgChromatogram{chm.fileId, chm.GetTypeLabel(), chm.analysisNo};
}

int SectionMsg::Variant() const {
    const std::int64_t variant = static_cast<std::int64_t>(id) - firstListedId_ + 1;
    return variant >= kUnnamedPeaks && variant <= kFreeText ? static_cast<int>(variant) : kNone;
}

std::string SectionMsg::ChromatogramText() const {
    if (!chromatogram)
        return "---";
    return chromatogram->typeLabel + " - " + std::to_string(chromatogram->analysisNo + 1);
}

bool SectionMsg::IsSame(const SysMsg& other) const {
    const auto* that = dynamic_cast<const SectionMsg*>(&other);
    if (!that || that->id != id)
        return false;
    const auto sameChromatogram = [&] {
        if (!chromatogram || !that->chromatogram)
            return !chromatogram && !that->chromatogram;
        return chromatogram->fileId == that->chromatogram->fileId;
    };
    switch (Variant()) {
    case kUnnamedPeaks:
        return sameChromatogram();
    case kMissingPeak:
        return sameChromatogram() && text == that->text;
    case kWrongGroup:
    case kFreeText:
        return subject && subject->record && that->subject && subject->record == that->subject->record;
    default:
        return false;
    }
}

std::string SectionMsg::GetText() const {
    switch (Variant()) {
    case kUnnamedPeaks:
        return ChromatogramText() + ", безымянных пиков: " + std::to_string(count);
    case kMissingPeak:
        return text + " (" + ChromatogramText() + ")";
    case kWrongGroup:
        return text + " (задна группа: " + (subject ? subject->group : std::string()) + ")";
    case kFreeText:
        return text;
    default:
        return {};
    }
}

std::unique_ptr<Section7_MSG> Section7_MSG::Create(std::int32_t id) {
    return CreateInRange<Section7_MSG>(id, 100, 104);
}

std::unique_ptr<Section8_MSG> Section8_MSG::Create(std::int32_t id) {
    return CreateInRange<Section8_MSG>(id, 200, 203);
}

} // namespace talvex
