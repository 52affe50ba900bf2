#include "core/section8/condensate_problems.h"

#include "core/messages/component_problems.h"

namespace talvex {

CondensateProblem& CondensateProblems::Problem(std::string_view name) {
    return FindOrAddProblem(items_, name);
}

void CondensateProblems::PostProblemMessages(MessageLog& log) const {
    static constexpr ProblemLine<CondensateProblem> kLines[] = {
        {&CondensateProblem::notInDatabase, kProblemNotInTable},
        {&CondensateProblem::noResponseFactor,
         " - Не удалось расчитать относительный коэфф. чувствительности.\r\n\t"},
        {&CondensateProblem::noMolarMass, kProblemNoMolarMass},
        {&CondensateProblem::notInAllAnalyses, kProblemNotInAllAnalyses},
        {&CondensateProblem::outOfRange, kProblemOutOfRange},
        {&CondensateProblem::okpMissingSample, kProblemNotInBothSamples},
        {&CondensateProblem::okpOutOfRange, kProblemOutOfRangeOkp},
        {&CondensateProblem::okeNotInPassport, kProblemNotInPassport},
        {&CondensateProblem::okeNotInChromatogram, " - Компонент отсутствует в хроматограмме (ОКЭ).\r\n\t"},
        {&CondensateProblem::okeOutOfRange, kProblemOutOfRangeOke},
    };
    PostComponentProblems(log, items_, "ДК", kLines);
}

} // namespace talvex
