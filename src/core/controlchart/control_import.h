#pragma once
// The laboratory's earlier control results, read from a spreadsheet's CSV so that a chart starts with
// its past.
//
// A header line "дата;вид;среда;состав;компонент;результат;опорное;норматив", then one control result a
// line: вид ОКП or ОКЭ; среда газ or конденсат; состав компонентный or компонентно-фракционный (gas) or
// A or B (condensate) for ОКП, empty for ОКЭ; результат and опорное in mass %; норматив the
// reproducibility limit R (ОКП) or the accuracy δ (ОКЭ), in %; дата ДД.ММ.ГГГГ[ ЧЧ:ММ] in local time or
// ISO 8601. Numbers take a decimal comma or point. The text is UTF-8 (a byte order mark is skipped) or,
// when it is not valid UTF-8, Windows-1251; lines end with LF or CR LF; blank lines are skipped. Words
// are matched without regard to case; cells are trimmed. The file is held to the limits of the
// program's data files (size, lines, line length).
//
// K (`limit`) and the ОКП difference are computed as for the program's own runs.

#include "core/controlchart/control_observation.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace talvex::controlchart {

// All the results of the file, each `imported`, in the order of the file (`order` its line number), or
// for the first bad line "строка N: причина" (for a file beyond the limits "файл: причина"). A file
// without any result line is an error too.
std::variant<std::vector<ControlObservation>, std::string> ParseControlImport(std::string_view csvText);

} // namespace talvex::controlchart
