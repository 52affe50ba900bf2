#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvex {

// A result table as data: what a grid shows, built by the core and shown by the GUI or printed by the CLI.
struct GridColumn {
    std::string caption;
    int width = 0; // pixels, as the desktop grid sizes the column
};

// Colours are 32-bit values; kDefaultColor means the list's own colour.
inline constexpr std::uint32_t kDefaultColor = 0xFF000000;

struct GridRow {
    std::vector<std::string> cells; // one text per column, exactly as shown
    std::uint32_t textColor = kDefaultColor;
    std::uint32_t backColor = kDefaultColor;
    std::int32_t tag = 0; // the owner's value (a record id, for instance)
};

struct GridModel {
    std::vector<GridColumn> columns;
    std::vector<GridRow> rows;
};

} // namespace talvex
