#pragma once

#include "core/chromatogram/chromatogram_list.h"

#include <pugixml.hpp>

#include <string>

namespace talvex {

// What the summary table of the report needs beyond the chromatogram list.
struct Table1Inputs {
    const ChromatogramList& chromatograms;
    int gasAnalyses = 0;        // analyses of the degassing gas
    int condensateAnalyses = 0; // analyses of the degassed condensate
    std::string deviceName;     // the instrument name of the main window
};

// Appends "Table1", the sample and analysis summary, to the report's root: rows of "title" and
// "DataString" taken from the passports of the sample runs (the first that has a value wins), the two
// analysis counts and the operators. Returns -1 and writes nothing when `root` is empty, 0 otherwise.
int WriteTable1(pugi::xml_node root, const Table1Inputs& in);

// A date-time as the report writes it: "%d.%m.%Y, %H:%M:%S" in local time.
std::string ReportDateTime(std::int64_t seconds);

} // namespace talvex
