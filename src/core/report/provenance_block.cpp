#include "core/report/provenance_block.h"

#include "core/report/table1.h"

namespace talvex {

std::vector<std::string> ProvenanceLines(const Provenance& provenance, const std::string& deviceName) {
    std::vector<std::string> lines = {
        "Программа: Talvex " + provenance.programVersion,
        "Прибор: " + deviceName,
        "Время расчета: " + ReportDateTime(provenance.calculatedAt),
        "Файлы хроматограмм (SHA-256, первые 12 знаков):",
    };
    for (const Provenance::File& file : provenance.chromatograms)
        lines.push_back(file.path + "  " + (file.sha256.empty() ? "не читается" : file.sha256.substr(0, 12)));
    return lines;
}

void AppendProvenance(pugi::xml_document& doc, const Provenance& provenance, const std::string& deviceName) {
    pugi::xml_node node = doc.child("root");
    if (!node)
        return;
    // A chain: each line's element holds the next line's element of the same name.
    for (const std::string& line : ProvenanceLines(provenance, deviceName)) {
        node = node.append_child("Provenance");
        node.text().set(line.c_str());
    }
}

} // namespace talvex
