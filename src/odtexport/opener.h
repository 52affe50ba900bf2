#pragma once

#include "brisquel.h"

#include <string>

namespace brisquel {

// Hands a written report to the opener installed by BrisquelSetOpener, or to `xdg-open`. Never throws.
void OpenWrittenFile(const std::string& path);

} // namespace brisquel
