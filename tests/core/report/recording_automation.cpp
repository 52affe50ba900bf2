#include "recording_automation.h"

#include <charconv>

namespace talvex::testing {
namespace {

std::string ShowNumber(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

std::string ShowCell(const AutomationCell& cell) {
    if (const double* v = std::get_if<double>(&cell))
        return ShowNumber(*v);
    if (const std::string* s = std::get_if<std::string>(&cell))
        return "\"" + *s + "\"";
    return "empty";
}

} // namespace

std::string ShowValue(const AutomationValue& value) {
    if (const std::int32_t* i = std::get_if<std::int32_t>(&value))
        return std::to_string(*i);
    if (const double* v = std::get_if<double>(&value))
        return ShowNumber(*v);
    if (const std::string* s = std::get_if<std::string>(&value))
        return "\"" + *s + "\"";
    if (const AutomationTable* table = std::get_if<AutomationTable>(&value)) {
        std::string text = "[";
        for (const auto& row : *table) {
            text += text.size() > 1 ? ",[" : "[";
            for (std::size_t c = 0; c < row.size(); ++c)
                text += (c ? "," : "") + ShowCell(row[c]);
            text += "]";
        }
        return text + "]";
    }
    if (const AutomationObject* o = std::get_if<AutomationObject>(&value))
        return "object " + std::to_string(o->id);
    return "empty";
}

bool RecordingAutomation::Start(AutomationObject& application, std::string& reason) {
    if (!startFailure.empty()) {
        reason = startFailure;
        return false;
    }
    application = Object("Application");
    return true;
}

AutomationObject RecordingAutomation::Object(std::string name) {
    names_.push_back(std::move(name));
    return {static_cast<std::int32_t>(names_.size() - 1)};
}

AutomationAnswer RecordingAutomation::Invoke(AutomationCall call, AutomationObject target,
                                             std::string_view member,
                                             const std::vector<AutomationValue>& args) {
    const std::string& object = names_.at(static_cast<std::size_t>(target.id));
    std::string line;
    if (call == AutomationCall::PropertyPut) {
        line = "put " + object + "." + std::string(member) + " = " + ShowValue(args.at(0));
    } else {
        line = (call == AutomationCall::Method ? "call " : "get ") + object + "." + std::string(member);
        if (call == AutomationCall::Method || !args.empty()) {
            line += "(";
            for (std::size_t i = 0; i < args.size(); ++i)
                line += (i ? ", " : "") + ShowValue(args[i]);
            line += ")";
        }
    }
    lines_.push_back(line);
    if (static_cast<int>(lines_.size()) - 1 == failAt)
        return {failure, {}, "refused on purpose"};

    AutomationAnswer answer;
    if (member == "Workbooks")
        answer.value = Object("Workbooks");
    else if (member == "Open")
        answer.value = Object("Workbook" + std::to_string(++opened_));
    else if (member == "Sheets")
        answer.value = Object("Sheets" + std::to_string(++sheetsTaken_));
    else if (member == "Item")
        answer.value = Object("Sheet" + ShowValue(args.at(0)));
    else if (member == "Range")
        answer.value = Object(object + "!" + std::get<std::string>(args.at(0)));
    else if (member == "RowHeight" && call == AutomationCall::PropertyGet)
        answer.value = rowHeight(std::stoi(object.substr(object.find("!A") + 2)));
    return answer;
}

std::vector<std::string> RecordingAutomation::Lines(bool withRanges) const {
    std::vector<std::string> lines;
    for (const std::string& line : lines_)
        if (withRanges || line.find(".Range(") == std::string::npos)
            lines.push_back(line);
    return lines;
}

std::vector<std::string> RecordingAutomation::LinesWith(const std::string& part) const {
    std::vector<std::string> lines;
    for (const std::string& line : Lines())
        if (line.find(part) != std::string::npos)
            lines.push_back(line);
    return lines;
}

} // namespace talvex::testing
