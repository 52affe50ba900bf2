#include "core/chromatogram/read_result.h"

namespace talvex {
namespace {

const char* ProblemWords(ReadProblem problem) {
    switch (problem) {
    case ReadProblem::None:
        return "";
    case ReadProblem::Missing:
        return "no such file";
    case ReadProblem::NotChromatogram:
        return "not a chromatogram file";
    case ReadProblem::Damaged:
        return "damaged";
    case ReadProblem::Held:
        return "held by another program";
    case ReadProblem::Unreadable:
        return "refused by the system";
    }
    return "";
}

} // namespace

ReadResult ReadResult::Failure(ReadProblem problem, std::string detail, std::string part) {
    ReadResult r;
    r.problem = problem;
    r.part = std::move(part);
    r.reason = ProblemWords(problem);
    if (!detail.empty())
        r.reason += ": " + detail;
    return r;
}

std::string ReadProblemText(const ReadResult& result) {
    switch (result.problem) {
    case ReadProblem::None:
        return {};
    case ReadProblem::Missing:
        return "файл не найден";
    case ReadProblem::NotChromatogram:
        return "это не файл хроматограммы";
    case ReadProblem::Damaged:
        return result.part.empty() ? "файл поврежден" : "файл поврежден, ошибка в «" + result.part + "»";
    case ReadProblem::Held:
        return "файл занят другой программой";
    case ReadProblem::Unreadable:
        return "система отказала в чтении";
    }
    return {};
}

} // namespace talvex
