#include "core/report/spreadsheet_automation.h"

#include <array>
#include <cstdio>

namespace talvex {
namespace {

constexpr std::array<std::string_view, 16> kMembers = {
    "Workbooks",     "Open",      "Sheets", "Item",   "SaveCopyAs", "Close", "Range", "UnMerge",
    "ClearContents", "RowHeight", "Delete", "Insert", "Value",      "Merge", "Save",  "Quit",
};

AutomationFailure UnknownNameFailure(const std::string& name, const std::string& reason) {
    char text[512];
    std::snprintf(text, sizeof text, "IDispatch::GetIDsOfNames(\"%s\") failed w/err 0x%08lx", name.c_str(),
                  static_cast<unsigned long>(kUnknownNameError));
    return {std::string(kAutoWrapCaption), reason.empty() ? text : text + ("\n" + reason)};
}

AutomationFailure InvocationFailure(const std::string& name, std::int32_t id, const std::string& reason) {
    char text[512];
    std::snprintf(text, sizeof text, "IDispatch::Invoke(\"%s\"=%08lx) failed w/err 0x%08lx", name.c_str(),
                  static_cast<unsigned long>(id), static_cast<unsigned long>(kInvocationError));
    return {std::string(kAutoWrapCaption), reason.empty() ? text : text + ("\n" + reason)};
}

} // namespace

std::int32_t AutomationMemberId(std::string_view member) {
    for (std::size_t i = 0; i < kMembers.size(); ++i)
        if (kMembers[i] == member)
            return static_cast<std::int32_t>(i + 1);
    return 0;
}

bool AutoWrap(SpreadsheetAutomation& automation, AutomationCall call, AutomationObject target,
              std::string_view member, const std::vector<AutomationValue>& args, AutomationValue& result,
              AutomationFailure& failure) {
    result = std::monostate{};
    if (target.id == 0) {
        failure = {std::string(kAutomationErrorCaption), std::string(kNullObjectMessage)};
        return false;
    }
    const std::string name(member);
    const std::int32_t id = AutomationMemberId(member);
    if (id == 0) {
        failure = UnknownNameFailure(name, {});
        return false;
    }
    AutomationAnswer answer = automation.Invoke(call, target, member, args);
    if (answer.kind == AutomationAnswer::Kind::Done) {
        result = std::move(answer.value);
        return true;
    }
    failure = answer.kind == AutomationAnswer::Kind::UnknownMember
                  ? UnknownNameFailure(name, answer.reason)
                  : InvocationFailure(name, id, answer.reason);
    return false;
}

} // namespace talvex
