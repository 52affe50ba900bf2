#include "core/report/table1.h"

#include "core/chromatogram/passport.h"

#include <utility>
#include <vector>

namespace talvex {
namespace {

// The first non-empty value among the sample runs that pass the filter.
template <typename Filter, typename Value>
std::string FirstOfSampleRuns(const ChromatogramList& list, Filter filter, Value value) {
    for (const COpenedChmFile& c : list) {
        if (c.role != COpenedChmFile::kSample || !filter(c))
            continue;
        std::string v = value(c);
        if (!v.empty())
            return v;
    }
    return {};
}

} // namespace

std::string ReportDateTime(std::int64_t seconds) {
    return FormatLocalTime(seconds, "%d.%m.%Y, %H:%M:%S");
}

int WriteTable1(pugi::xml_node root, const Table1Inputs& in) {
    if (!root)
        return -1;
    const auto any = [](const COpenedChmFile&) { return true; };
    const auto gas = [](const COpenedChmFile& c) { return c.medium == COpenedChmFile::kGas; };
    const auto condensate = [](const COpenedChmFile& c) { return c.medium == COpenedChmFile::kCondensate; };
    const auto& list = in.chromatograms;

    std::vector<std::pair<std::string, std::string>> rows;
    auto add = [&rows](std::string title, std::string value) {
        if (!value.empty())
            rows.emplace_back(std::move(title), std::move(value));
    };
    add("Имя прибора", in.deviceName);
    add("Пункт отбора", FirstOfSampleRuns(list, any, [](const auto& c) { return c.passport.samplingSite; }));
    add("Точка отбора", FirstOfSampleRuns(list, any, [](const auto& c) { return c.passport.samplingPoint; }));
    add("Дата и время отбора",
        FirstOfSampleRuns(list, any, [](const auto& c) { return ReportDateTime(c.passport.samplingTime); }));
    add("Дата и время анализа (ГД)",
        FirstOfSampleRuns(list, gas, [](const auto& c) { return ReportDateTime(c.passport.analysisTime); }));
    add("Дата и время анализа (ДК)", FirstOfSampleRuns(list, condensate, [](const auto& c) {
            return ReportDateTime(c.passport.analysisTime);
        }));
    rows.emplace_back("Кол-во измерений ГД", std::to_string(in.gasAnalyses));
    rows.emplace_back("Кол-во измерений ДК", std::to_string(in.condensateAnalyses));

    const std::string gasOperator =
        FirstOfSampleRuns(list, gas, [](const auto& c) { return c.passport.operatorName; });
    std::string condensateOperator =
        FirstOfSampleRuns(list, condensate, [](const auto& c) { return c.passport.operatorName; });
    if (condensateOperator == gasOperator)
        condensateOperator.clear();
    if (!gasOperator.empty() && !condensateOperator.empty()) {
        rows.emplace_back("Оператор (ГД)", gasOperator);
        rows.emplace_back("Оператор (ДК)", condensateOperator);
    } else if (!gasOperator.empty() || !condensateOperator.empty()) {
        rows.emplace_back("Оператор", gasOperator.empty() ? condensateOperator : gasOperator);
    }

    pugi::xml_node table = root.append_child("Table1");
    for (const auto& [title, value] : rows) {
        pugi::xml_node row = table.append_child("row");
        row.append_child("title").text().set(title.c_str());
        row.append_child("DataString").text().set(value.c_str());
    }
    return 0;
}

} // namespace talvex
