#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace talvex {

// The requests the spreadsheet export makes of a spreadsheet application: call a method, get or put a
// property of one of the application's objects (the application, its workbooks, a workbook, its sheets, a
// sheet, a range of cells). A backend carries them out; tests record them.

enum class AutomationCall { Method, PropertyGet, PropertyPut };

// An object of the application, handed out by a request; 0 is none.
struct AutomationObject {
    std::int32_t id = 0;
    bool operator==(const AutomationObject&) const = default;
};

// One cell of a written block: empty, a number or a text.
using AutomationCell = std::variant<std::monostate, double, std::string>;
// Rows of cells, every row as long as the block is wide.
using AutomationTable = std::vector<std::vector<AutomationCell>>;

using AutomationValue =
    std::variant<std::monostate, std::int32_t, double, std::string, AutomationTable, AutomationObject>;

// What the operator is shown when a request fails: a message box with the stop icon.
struct AutomationFailure {
    std::string caption;
    std::string text;
};

// How a backend answers one request.
struct AutomationAnswer {
    enum class Kind { Done, UnknownMember, Failed };
    Kind kind = Kind::Done;
    AutomationValue value; // the result of a get or of a method that returns an object
    std::string reason;    // why it did not work, in the backend's words
};

class SpreadsheetAutomation {
public:
    virtual ~SpreadsheetAutomation() = default;

    // Starts the application. False with the reason when there is none to start or it does not answer.
    virtual bool Start(AutomationObject& application, std::string& reason) = 0;

    // Carries out one request on an object it handed out; a put has the new value as its only argument.
    virtual AutomationAnswer Invoke(AutomationCall call, AutomationObject target, std::string_view member,
                                    const std::vector<AutomationValue>& args) = 0;

    // Ends the application and everything it started, whatever state it is in. Safe to repeat.
    virtual void Shutdown() = 0;

    // Called from another thread while an export runs, to cancel it: ends the application at once, so that
    // the request waiting for it, and every later one (Start included), fails. Shutdown() still follows.
    virtual void Abort() {}
};

// The members the export uses, each with its dispatch identifier (its 1-based position in this list).
std::int32_t AutomationMemberId(std::string_view member); // 0 for a member not in the list

// Failure texts, kept as the laboratory knows them from the program's earlier versions.
inline constexpr std::string_view kAutomationErrorCaption = "Error";
inline constexpr std::string_view kAutoWrapCaption = "AutoWrap()";
inline constexpr std::string_view kNoApplicationMessage = "Excel not registered properly";
inline constexpr std::string_view kNullObjectMessage = "NULL IDispatch passed to AutoWrap()";
inline constexpr std::uint32_t kUnknownNameError = 0x80020006;
inline constexpr std::uint32_t kInvocationError = 0x80020009;

// The one routine every request of the export goes through: a request on no object, to a member the
// backend does not know or that fails leaves `result` empty and fills `failure` with the operator's message
// (the backend's reason on a second line) instead of ending the program.
bool AutoWrap(SpreadsheetAutomation& automation, AutomationCall call, AutomationObject target,
              std::string_view member, const std::vector<AutomationValue>& args, AutomationValue& result,
              AutomationFailure& failure);

} // namespace talvex
