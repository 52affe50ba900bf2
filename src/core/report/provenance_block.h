#pragma once

#include "core/common/provenance.h"

#include <pugixml.hpp>

#include <string>

namespace talvex {

// The block "Сведения о расчете" that ends the ODT and PDF reports: the program version, the instrument,
// the time of the calculation and each chromatogram file with the first 12 hex digits of its SHA-256.
// It goes under the root as the element Provenance, a chain of one line each (the export gives every line
// a paragraph of its own), and only into the document handed to the ODT export: the XML report keeps its
// shape. A template without the marker #Provenance# is filled as before.
void AppendProvenance(pugi::xml_document& doc, const Provenance& provenance, const std::string& deviceName);

// The lines of that block, in order.
std::vector<std::string> ProvenanceLines(const Provenance& provenance, const std::string& deviceName);

} // namespace talvex
