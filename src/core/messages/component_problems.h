#pragma once

#include "core/common/case_fold.h"

#include <string>
#include <string_view>
#include <vector>

namespace talvex {

class MessageLog;

// What the gas and the condensate calculations find wrong with one component is gathered per name and
// reported once at the end: one error per component, its name and section, then a line per problem in
// the section's fixed order. The lines both sections share have one text each.
inline constexpr const char* kProblemNotInTable = " - Не найден в таблице компонентов программы.\r\n\t";
inline constexpr const char* kProblemNoMolarMass = " - Не задана молярная масса.\r\n\t";
inline constexpr const char* kProblemNotInAllAnalyses =
    " - Компонент присутствует не во всех анализах.\r\n\t";
inline constexpr const char* kProblemOutOfRange = " - Не соответствие дипапазона измерений.\r\n\t";
inline constexpr const char* kProblemNotInBothSamples =
    " - Компонент присутствует не в обеих пробах (ОКП).\r\n\t";
inline constexpr const char* kProblemOutOfRangeOkp = " - Не соответствие дипапазона измерений (ОКП).\r\n\t";
inline constexpr const char* kProblemNotInPassport =
    " - Компонент отсутствует в паспорте на смесь (ОКЭ).\r\n\t";
inline constexpr const char* kProblemOutOfRangeOke = " - Не соответствие дипапазона измерений (ОКЭ).\r\n\t";

// One flag of a section's problem record and the line it adds to the message.
template <class Record> struct ProblemLine {
    bool Record::*flag;
    const char* text;
};

// The record of this name (letter case ignored), appended with no flag set when there is none yet.
template <class Record> Record& FindOrAddProblem(std::vector<Record>& records, std::string_view name) {
    for (Record& r : records)
        if (EqualsIgnoringCase(r.name, name))
            return r;
    Record& added = records.emplace_back();
    added.name = std::string(name);
    return added;
}

// Posts the error of one component: `Компонент "NAME" (SECTION).` and the given lines.
void PostComponentProblem(MessageLog& log, const std::string& name, std::string_view section,
                          const std::vector<const char*>& lines);

// Posts one error per record, in order, with the lines of the flags it has set.
template <class Record, std::size_t N>
void PostComponentProblems(MessageLog& log, const std::vector<Record>& records, std::string_view section,
                           const ProblemLine<Record> (&table)[N]) {
    for (const Record& r : records) {
        std::vector<const char*> lines;
        for (const ProblemLine<Record>& line : table)
            if (r.*line.flag)
                lines.push_back(line.text);
        PostComponentProblem(log, r.name, section, lines);
    }
}

} // namespace talvex
