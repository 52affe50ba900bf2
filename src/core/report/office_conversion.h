#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace talvex {

// Converting a written report with the office suite (LibreOffice) run headless.

// How long one conversion may take; a first start with a fresh profile takes a few seconds.
inline constexpr std::chrono::seconds kOfficeTimeLimit{120};

// The office suite's program ("soffice", else "libreoffice" on PATH); nullopt when it is not installed.
std::optional<std::filesystem::path> FindOfficeSuite();

// Converts `input` with the office suite's export filter for `format` (e.g. "pdf") and writes the result
// to `output`, which is created or replaced whole. Every conversion runs with a profile of its own in a
// temporary folder, so that conversions at once, or an office suite the operator has open, neither block
// it nor are disturbed by it; it is killed when it runs past `timeLimit`. False with the reason in `error`.
bool ConvertWithOffice(const std::filesystem::path& input, const std::string& format,
                       const std::filesystem::path& output, std::chrono::milliseconds timeLimit,
                       std::string& error);

} // namespace talvex
