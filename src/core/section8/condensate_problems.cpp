#include "section8/condensate_problems.h"

#include "common/case_fold.h"
#include "common/format.h"
#include "messages/message_log.h"

#include <utility>

namespace talvex {

CondensateProblem& CondensateProblems::Problem(std::string_view name) {
    for (CondensateProblem& p : items_)
        if (EqualsIgnoringCase(p.name, name))
            return p;
    CondensateProblem& added = items_.emplace_back();
    added.name = std::string(name);
    return added;
}

void CondensateProblems::PostProblemMessages(MessageLog& log) const {
    static const std::pair<bool CondensateProblem::*, const char*> kLines[] = {
        {&CondensateProblem::notInDatabase, " - Не найден в таблице компонентов программы.\r\n\t"},
        {&CondensateProblem::noResponseFactor,
         " - Не удалось расчитать относительный коэфф. чувствительности.\r\n\t"},
        {&CondensateProblem::noMolarMass, " - Не задана молярная масса.\r\n\t"},
        {&CondensateProblem::notInAllAnalyses, " - Компонент присутствует не во всех анализах.\r\n\t"},
        {&CondensateProblem::outOfRange, " - Не соответствие дипапазона измерений.\r\n\t"},
        {&CondensateProblem::okpMissingSample, " - Компонент присутствует не в обеих пробах (ОКП).\r\n\t"},
        {&CondensateProblem::okpOutOfRange, " - Не соответствие дипапазона измерений (ОКП).\r\n\t"},
        {&CondensateProblem::okeNotInPassport, " - Компонент отсутствует в паспорте на смесь (ОКЭ).\r\n\t"},
        {&CondensateProblem::okeNotInChromatogram, " - Компонент отсутствует в хроматограмме (ОКЭ).\r\n\t"},
        {&CondensateProblem::okeOutOfRange, " - Не соответствие дипапазона измерений (ОКЭ).\r\n\t"},
    };
    for (const CondensateProblem& p : items_) {
        std::string text = StrPrintf("Компонент \"%s\" (ДК).\r\n\t", p.name.c_str());
        for (const auto& [flag, line] : kLines)
            if (p.*flag)
                text += line;
        log.PostText(kMsgError, std::move(text));
    }
}

} // namespace talvex
