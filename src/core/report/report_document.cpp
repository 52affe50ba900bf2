#include "core/report/report_document.h"

#include "core/common/data_file_io.h"
#include "core/common/report_settings.h"
#include "core/common/settings.h"
#include "core/nlh/nlh.h"
#include "core/report/boiling_curve_report.h"
#include "core/report/table1.h"
#include "core/section7/gas_report.h"
#include "core/section8/condensate.h"
#include "core/section8/condensate_report.h"

#include <sstream>

namespace talvex {

void BuildReportDocument(pugi::xml_document& doc, const ReportInputs& in) {
    doc.reset();
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "utf-8";
    pugi::xml_node root = doc.append_child("root");
    root.append_child("DateCreated").text().set(ReportDateTime(in.now).c_str());
    WriteTable1(root, {in.chromatograms, static_cast<int>(in.gas.analyses.size()),
                       static_cast<int>(in.condensate.analyses.size()), in.deviceName});
    // The profile is read once here; the section writers get its values.
    CSettings stored;
    stored.Load(in.settings);
    const ReportSettings switches = LoadReportSettings(in.settings);
    const int decimals = stored.QtyNumAfterDot;
    switch (stored.ModeCalc) {
    case kModeGasOnly:
        WriteGasReport(root, in.gas, decimals, switches);
        break;
    case kModeLiquidOnly:
        WriteCondensateReport(root, in.condensate, decimals, switches);
        break;
    case kModeFull:
        WriteGasReport(root, in.gas, decimals, switches);
        WriteCondensateReport(root, in.condensate, decimals, switches);
        WriteNlhReport(root, in.nlh, decimals, switches);
        break;
    default:
        break;
    }
    // The curves go with the unstable liquid's results, or with the condensate's method-A table when only
    // the condensate is calculated.
    if ((stored.ModeCalc == kModeFull && switches.On(ReportSwitch::RezNLH)) ||
        (stored.ModeCalc == kModeLiquidOnly && switches.On(ReportSwitch::CD_AnComp)))
        WriteBoilingCurveReport(root, in.condensate, in.nlh, decimals);
}

std::string ReportXmlText(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

bool SaveReportXml(const pugi::xml_document& doc, const std::filesystem::path& path, std::string& error) {
    return WriteFileAtomically(path, ReportXmlText(doc), &error);
}

} // namespace talvex
