#pragma once

#include "core/common/child_process.h"
#include "core/report/spreadsheet_automation.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>

namespace talvex {

// The spreadsheet application on Linux: LibreOffice Calc, started headless and driven over UNO by a small
// Python bridge (spreadsheet_bridge.py, shipped next to the programs and run with /usr/bin/python3, the
// interpreter that has the uno module). Every export gets an office suite of its own, with a fresh profile
// in a temporary folder and a named pipe instead of a TCP port, so that an office suite the operator has
// open, or a second export, neither blocks it nor is disturbed by it. Every request has a time limit, and
// Shutdown ends the office suite with everything it started.
inline constexpr const char* kSpreadsheetBridgeFileName = "spreadsheet_bridge.py";
inline constexpr const char* kBridgeInterpreter = "/usr/bin/python3";

class UnoSpreadsheet : public SpreadsheetAutomation {
public:
    // `bridgeScript` is the bridge's path; `startLimit` bounds the start of the office suite (a first start
    // with a fresh profile takes a few seconds), `requestLimit` every single request.
    UnoSpreadsheet(std::filesystem::path bridgeScript, std::chrono::milliseconds startLimit,
                   std::chrono::milliseconds requestLimit);
    ~UnoSpreadsheet() override;

    bool Start(AutomationObject& application, std::string& reason) override;
    AutomationAnswer Invoke(AutomationCall call, AutomationObject target, std::string_view member,
                            const std::vector<AutomationValue>& args) override;
    void Shutdown() override;
    void Abort() override;

private:
    // What the bridge wrote on stderr last, to tell why it ended.
    std::string BridgeComplaint() const;

    std::filesystem::path bridge_;
    std::chrono::milliseconds startLimit_;
    std::chrono::milliseconds requestLimit_;
    std::unique_ptr<TemporaryFolder> work_;
    PipedChild child_;
    bool hung_ = false;                // a request ran out of time: no more requests, no waiting at shutdown
    std::atomic<bool> aborted_{false}; // cancelled: nothing more is started or asked
};

// The bridge shipped with the program in `programFolder` (see shipped_files.h).
std::filesystem::path SpreadsheetBridgePath(const std::filesystem::path& programFolder);

// One request as the bridge reads it: a JSON object on one line.
std::string BridgeRequestLine(AutomationCall call, AutomationObject target, std::string_view member,
                              const std::vector<AutomationValue>& args);
// The bridge's answer line as an answer of the application.
AutomationAnswer ParseBridgeAnswer(const std::string& line);

} // namespace talvex
