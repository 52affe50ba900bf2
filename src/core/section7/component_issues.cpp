#include "core/section7/component_issues.h"

#include "core/messages/component_problems.h"

namespace talvex {

ComponentIssues& IssuesOf(std::vector<ComponentIssues>& issues, std::string_view name) {
    return FindOrAddProblem(issues, name);
}

void ReportIssues(const std::vector<ComponentIssues>& issues, MessageLog& log) {
    static constexpr ProblemLine<ComponentIssues> kLines[] = {
        {&ComponentIssues::notInTable, kProblemNotInTable},
        {&ComponentIssues::noDetectorType, " - Не задан тип детектора.\r\n\t"},
        {&ComponentIssues::noCoefficient, " - Не задан коэффициент чувствительности.\r\n\t"},
        {&ComponentIssues::noMolarMass, kProblemNoMolarMass},
        {&ComponentIssues::notInAllAnalyses, kProblemNotInAllAnalyses},
        {&ComponentIssues::rangeMismatch, kProblemOutOfRange},
        {&ComponentIssues::notInBothSamples, kProblemNotInBothSamples},
        {&ComponentIssues::rangeMismatchOkp, kProblemOutOfRangeOkp},
        {&ComponentIssues::notInPassport, kProblemNotInPassport},
        {&ComponentIssues::rangeMismatchOke, kProblemOutOfRangeOke},
    };
    PostComponentProblems(log, issues, "Анализ газа", kLines);
}

} // namespace talvex
