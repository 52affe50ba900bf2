#pragma once

#include <cstdint>
#include <string>

namespace talvex {

class COpenedChmFile;
class MessageLog;
struct ComponentRecord;

// The message types of the degassing-gas calculation.
inline constexpr std::int32_t kMsgNoBlank = 100;          // header only
inline constexpr std::int32_t kMsgUnnamedPeaks = 101;     // per chromatogram, with the count
inline constexpr std::int32_t kMsgUnknownPeak = 102;      // a peak name the database lacks
inline constexpr std::int32_t kMsgWrongGroup = 103;       // a group naming nothing usable
inline constexpr std::int32_t kMsgFractionNotMoved = 104; // a peak that could not be moved to its fraction

// The reference to the standard that the air-correction texts end with, by formula number ("7.8").
std::string AirFormulaReference(const char* formula);

// Registers the five types in the log unless the log has them already (once per program run).
void RegisterSection7Messages(MessageLog& log);

void PostNoBlank(MessageLog& log);
void PostUnnamedPeaks(MessageLog& log, const COpenedChmFile& chromatogram, std::int32_t count);
void PostUnknownPeak(MessageLog& log, const std::string& peakName, const COpenedChmFile& chromatogram);
void PostWrongGroup(MessageLog& log, const std::string& peakName, const ComponentRecord& component);
void PostFractionNotMoved(MessageLog& log, const std::string& peakName, const ComponentRecord& component);

// "Анализ-<number + 1>.\r\n\t" followed by the text, as an error, warning or information.
void PostAnalysisText(MessageLog& log, std::int32_t kind, std::int32_t number, const std::string& text);

} // namespace talvex
