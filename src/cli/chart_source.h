#pragma once

#include "core/controlchart/control_observation.h"

#include <memory>
#include <string>

namespace talvex::cli {

// The control results of the archive at `url` (a path, "sqlite:PATH" or "postgresql://..."). Nothing,
// with the reason for the operator in `error`, when the archive cannot be opened.
std::unique_ptr<controlchart::ControlSource> OpenControlSource(const std::string& url, std::string& error);

} // namespace talvex::cli
