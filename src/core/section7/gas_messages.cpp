#include "core/section7/gas_messages.h"

#include "core/common/format.h"
#include "core/components/component_record.h"
#include "core/messages/message_log.h"
#include "core/messages/section_msg.h"

#include <algorithm>

namespace talvex {

std::string AirFormulaReference(const char* formula) {
    return StrPrintf("СТО DorirUZUdididida 02-04-2009, раздел 7, описание формулы %s.", formula);
}

void RegisterSection7Messages(MessageLog& log) {
    SysMsgHandler& handler = log.Handler();
    const auto& types = handler.Types();
    if (std::any_of(types.begin(), types.end(), [](const auto& t) { return t.id == kMsgNoBlank; }))
        return;
    handler.RegisterType(kMsgNoBlank, kMsgWarning,
                         "Не задана хроматограмма холостого опыта для газа дегазации. Расчет будет проведен "
                         "без учета холостой хроматограммы.",
                         true);
    handler.RegisterType(kMsgUnnamedPeaks, kMsgWarning,
                         "В хроматограммах газа дегазации (ГД) найдены безымянные пики:", false);
    handler.RegisterType(kMsgUnknownPeak, kMsgError,
                         "Следующие пики не найдены в списке компонентов программы (ГД):", false);
    handler.RegisterType(kMsgWrongGroup, kMsgError,
                         "Некоторым компонентам неверно задана группа, они размечены как индивидуальные "
                         "компоненты (ГД):",
                         false);
    handler.RegisterType(
        kMsgFractionNotMoved, kMsgError,
        "Площади следующих фракций неудалось пересчитать с учетом переносимых пиков (ГД):", false);
}

void PostNoBlank(MessageLog& log) {
    log.Handler().Post(kMsgNoBlank);
}

void PostUnnamedPeaks(MessageLog& log, const COpenedChmFile& chromatogram, std::int32_t count) {
    auto item = Section7_MSG::Create(kMsgUnnamedPeaks);
    item->SetChromatogram(chromatogram);
    item->count = count;
    log.Handler().Post(kMsgUnnamedPeaks, std::move(item));
}

void PostUnknownPeak(MessageLog& log, const std::string& peakName, const COpenedChmFile& chromatogram) {
    auto item = Section7_MSG::Create(kMsgUnknownPeak);
    item->text = peakName;
    item->SetChromatogram(chromatogram);
    log.Handler().Post(kMsgUnknownPeak, std::move(item));
}

void PostWrongGroup(MessageLog& log, const std::string& peakName, const ComponentRecord& component) {
    auto item = Section7_MSG::Create(kMsgWrongGroup);
    item->text = peakName;
    item->SetSubject(&component, component.gas.group);
    log.Handler().Post(kMsgWrongGroup, std::move(item));
}

void PostFractionNotMoved(MessageLog& log, const std::string& peakName, const ComponentRecord& component) {
    auto item = Section7_MSG::Create(kMsgFractionNotMoved);
    item->text = peakName;
    item->SetSubject(&component, component.gas.group);
    log.Handler().Post(kMsgFractionNotMoved, std::move(item));
}

void PostAnalysisText(MessageLog& log, std::int32_t kind, std::int32_t number, const std::string& text) {
    log.PostText(kind, StrPrintf("Анализ-%d.\r\n\t", number + 1) + text);
}

} // namespace talvex
