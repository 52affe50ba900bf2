#include "section7/component_issues.h"

#include "common/case_fold.h"
#include "common/format.h"
#include "messages/message_log.h"

#include <algorithm>

namespace talvex {

ComponentIssues& IssuesOf(std::vector<ComponentIssues>& issues, std::string_view name) {
    const auto it = std::find_if(issues.begin(), issues.end(),
                                 [&](const ComponentIssues& i) { return EqualsIgnoringCase(i.name, name); });
    if (it != issues.end())
        return *it;
    ComponentIssues& added = issues.emplace_back();
    added.name = std::string(name);
    return added;
}

void ReportIssues(const std::vector<ComponentIssues>& issues, MessageLog& log) {
    struct Line {
        bool ComponentIssues::*flag;
        const char* text;
    };
    static constexpr Line kLines[] = {
        {&ComponentIssues::notInTable, " - Не найден в таблице компонентов программы.\r\n\t"},
        {&ComponentIssues::noDetectorType, " - Не задан тип детектора.\r\n\t"},
        {&ComponentIssues::noCoefficient, " - Не задан коэффициент чувствительности.\r\n\t"},
        {&ComponentIssues::noMolarMass, " - Не задана молярная масса.\r\n\t"},
        {&ComponentIssues::notInAllAnalyses, " - Компонент присутствует не во всех анализах.\r\n\t"},
        {&ComponentIssues::rangeMismatch, " - Не соответствие дипапазона измерений.\r\n\t"},
        {&ComponentIssues::notInBothSamples, " - Компонент присутствует не в обеих пробах (ОКП).\r\n\t"},
        {&ComponentIssues::rangeMismatchOkp, " - Не соответствие дипапазона измерений (ОКП).\r\n\t"},
        {&ComponentIssues::notInPassport, " - Компонент отсутствует в паспорте на смесь (ОКЭ).\r\n\t"},
        {&ComponentIssues::rangeMismatchOke, " - Не соответствие дипапазона измерений (ОКЭ).\r\n\t"},
    };
    for (const ComponentIssues& issue : issues) {
        std::string text = StrPrintf("Компонент \"%s\" (Анализ газа).\r\n\t", issue.name.c_str());
        for (const Line& line : kLines)
            if (issue.*line.flag)
                text += line.text;
        log.PostText(kMsgError, std::move(text));
    }
}

} // namespace talvex
