#include "chart_source.h"

namespace talvex::cli {

// The archive's back ends answer here once they are part of the program.
std::unique_ptr<controlchart::ControlSource> OpenControlSource(const std::string& url, std::string& error) {
    error = "архив недоступен: " + url;
    return nullptr;
}

} // namespace talvex::cli
