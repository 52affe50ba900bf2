#include "core/report/uno_spreadsheet.h"

#include "core/report/office_conversion.h"
#include "core/report/shipped_files.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace talvex {
namespace {

// How long the bridge may take to close the office suite after the last request.
constexpr std::chrono::seconds kShutdownGrace{30};

std::string Seconds(std::chrono::milliseconds limit) {
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s";
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    out += '"';
}

// JSON knows no infinities: such a number goes as an empty cell.
void AppendJsonNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    std::string number(text, end);
    if (number.find_first_of(".e") == std::string::npos)
        number += ".0"; // stays a real number on the other side
    out += number;
}

void AppendCell(std::string& out, const AutomationCell& cell) {
    if (const double* v = std::get_if<double>(&cell))
        AppendJsonNumber(out, *v);
    else if (const std::string* s = std::get_if<std::string>(&cell))
        AppendJsonString(out, *s);
    else
        out += "null";
}

void AppendValue(std::string& out, const AutomationValue& value) {
    if (const std::int32_t* i = std::get_if<std::int32_t>(&value)) {
        out += std::to_string(*i);
    } else if (const double* v = std::get_if<double>(&value)) {
        AppendJsonNumber(out, *v);
    } else if (const std::string* s = std::get_if<std::string>(&value)) {
        AppendJsonString(out, *s);
    } else if (const AutomationObject* o = std::get_if<AutomationObject>(&value)) {
        out += std::to_string(o->id);
    } else if (const AutomationTable* table = std::get_if<AutomationTable>(&value)) {
        out += '[';
        for (std::size_t r = 0; r < table->size(); ++r) {
            out += r ? ",[" : "[";
            for (std::size_t c = 0; c < (*table)[r].size(); ++c) {
                if (c)
                    out += ',';
                AppendCell(out, (*table)[r][c]);
            }
            out += ']';
        }
        out += ']';
    } else {
        out += "null";
    }
}

} // namespace

std::string BridgeRequestLine(AutomationCall call, AutomationObject target, std::string_view member,
                              const std::vector<AutomationValue>& args) {
    static constexpr const char* kCalls[] = {"method", "get", "put"};
    std::string line = "{\"call\":\"";
    line += kCalls[static_cast<int>(call)];
    line += "\",\"target\":" + std::to_string(target.id) + ",\"member\":";
    AppendJsonString(line, member);
    line += ",\"args\":[";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i)
            line += ',';
        AppendValue(line, args[i]);
    }
    return line + "]}";
}

AutomationAnswer ParseBridgeAnswer(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    AutomationAnswer answer;
    if (fields.empty() || (fields[0] != "ok" && fields[0] != "unknown" && fields[0] != "failed")) {
        answer.kind = AutomationAnswer::Kind::Failed;
        answer.reason = "unexpected answer from the spreadsheet bridge: " + line;
        return answer;
    }
    if (fields[0] != "ok") {
        answer.kind =
            fields[0] == "unknown" ? AutomationAnswer::Kind::UnknownMember : AutomationAnswer::Kind::Failed;
        answer.reason = fields.size() > 1 ? fields[1] : std::string();
        return answer;
    }
    if (fields.size() == 3 && fields[1] == "object") {
        answer.value = AutomationObject{std::atoi(fields[2].c_str())};
    } else if (fields.size() == 3 && fields[1] == "number") {
        double v = 0;
        std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), v);
        answer.value = v;
    }
    return answer;
}

std::filesystem::path SpreadsheetBridgePath(const std::filesystem::path& programFolder) {
    return ShippedFilePath(programFolder, kSpreadsheetBridgeFileName);
}

UnoSpreadsheet::UnoSpreadsheet(std::filesystem::path bridgeScript, std::chrono::milliseconds startLimit,
                               std::chrono::milliseconds requestLimit)
    : bridge_(std::move(bridgeScript)), startLimit_(startLimit), requestLimit_(requestLimit) {}

UnoSpreadsheet::~UnoSpreadsheet() {
    Shutdown();
}

bool UnoSpreadsheet::Start(AutomationObject& application, std::string& reason) {
    const std::optional<std::filesystem::path> office = FindOfficeSuite();
    if (!office) {
        reason = "LibreOffice is not installed (no soffice on PATH); install the Debian packages "
                 "libreoffice-calc-nogui and python3-uno";
        return false;
    }
    if (!FindProgram(kBridgeInterpreter)) {
        reason = std::string(kBridgeInterpreter) + " is missing; install python3-uno";
        return false;
    }
    std::error_code failure;
    if (!std::filesystem::is_regular_file(bridge_, failure)) {
        reason = "the spreadsheet bridge " + bridge_.string() + " is missing";
        return false;
    }
    Shutdown();
    hung_ = false;
    if (aborted_) {
        reason = "the export was cancelled";
        return false;
    }
    work_ = std::make_unique<TemporaryFolder>("talvex-calc-");
    if (!work_->Valid()) {
        reason = "cannot create a temporary folder for LibreOffice";
        return false;
    }
    // The folder's name is unique on this machine, and so is the pipe named after it.
    const std::string pipe = work_->Path().filename().string();
    if (!child_.Start({kBridgeInterpreter, bridge_.string(), office->string(),
                       FileUrl(work_->Path() / "profile"), pipe},
                      work_->Path() / "bridge.log")) {
        reason = std::string("cannot start ") + kBridgeInterpreter;
        return false;
    }
    std::string line;
    switch (child_.ReadLine(line, startLimit_)) {
    case PipedChild::ReadResult::Line:
        if (line == "ready") {
            application = AutomationObject{1};
            return true;
        }
        reason =
            "LibreOffice could not be started: " + (line.rfind("failed\t", 0) == 0 ? line.substr(7) : line);
        break;
    case PipedChild::ReadResult::TimedOut:
        hung_ = true;
        reason = "LibreOffice did not start within " + Seconds(startLimit_) + " and was stopped";
        break;
    case PipedChild::ReadResult::Closed:
        reason = "the spreadsheet bridge ended at start: " + BridgeComplaint();
        break;
    }
    Shutdown();
    return false;
}

AutomationAnswer UnoSpreadsheet::Invoke(AutomationCall call, AutomationObject target, std::string_view member,
                                        const std::vector<AutomationValue>& args) {
    AutomationAnswer answer;
    answer.kind = AutomationAnswer::Kind::Failed;
    if (aborted_) {
        answer.reason = "the export was cancelled";
        return answer;
    }
    if (hung_ || !child_.Running()) {
        answer.reason = "LibreOffice is not running";
        return answer;
    }
    std::string line;
    if (!child_.WriteLine(BridgeRequestLine(call, target, member, args))) {
        answer.reason = "LibreOffice ended unexpectedly: " + BridgeComplaint();
        return answer;
    }
    switch (child_.ReadLine(line, requestLimit_)) {
    case PipedChild::ReadResult::Line:
        return ParseBridgeAnswer(line);
    case PipedChild::ReadResult::TimedOut:
        hung_ = true;
        answer.reason = "LibreOffice did not answer within " + Seconds(requestLimit_) + " and was stopped";
        Shutdown();
        return answer;
    case PipedChild::ReadResult::Closed:
        break;
    }
    answer.reason = "LibreOffice ended unexpectedly: " + BridgeComplaint();
    return answer;
}

std::string UnoSpreadsheet::BridgeComplaint() const {
    if (!work_)
        return "no reason given";
    std::ifstream log(work_->Path() / "bridge.log");
    std::string line, last;
    while (std::getline(log, line))
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            last = line;
    return last.empty() ? "no reason given" : last;
}

void UnoSpreadsheet::Abort() {
    aborted_ = true;
    child_.Kill();
}

void UnoSpreadsheet::Shutdown() {
    // The bridge closes what is still open and ends the office suite once its input ends.
    child_.Stop(hung_ || aborted_ ? std::chrono::milliseconds(0) : std::chrono::milliseconds(kShutdownGrace));
    work_.reset();
    hung_ = false;
}

} // namespace talvex
