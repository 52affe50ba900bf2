// TEMPORARY: see temporary_control_import.h.
#include "temporary_control_import.h"

namespace talvex::controlchart {

std::variant<std::vector<ControlObservation>, std::string> ParseControlImport(std::string_view) {
    return std::string("строка 1: чтение файла контрольных результатов в этой сборке ещё не подключено");
}

} // namespace talvex::controlchart
