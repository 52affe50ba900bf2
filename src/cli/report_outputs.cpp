#include "cli/report_outputs.h"

#include "core/app/data_folder.h"
#include "core/common/child_process.h"
#include "core/common/data_file_io.h"
#include "core/report/boiling_curve_report.h"
#include "core/report/odt_report.h"
#include "core/report/odt_report_paths.h"
#include "core/report/office_conversion.h"
#include "core/report/provenance_block.h"
#include "core/report/report_document.h"
#include "core/report/report_messages.h"
#include "core/report/uno_spreadsheet.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace talvex::cli {
namespace {

bool WriteOdt(const pugi::xml_document& doc, const std::filesystem::path& templatePath,
              const std::filesystem::path& output, std::string& error) {
    const std::int32_t result = WriteOdtReport(doc, templatePath, output);
    if (result >= 0)
        return true;
    error = std::string(kReportSaveFailedMessage) + " (" + output.string() + ": " +
            OdtReportResultText(result) + "; template " + templatePath.string() + ", code " +
            std::to_string(result) + ")";
    return false;
}

} // namespace

bool WriteReportOutputs(const pugi::xml_document& xml, const Provenance& provenance,
                        const std::string& deviceName, const std::string& curvePictureSvg,
                        const RunOptions& options, std::string& error) {
    if (options.xmlFile && !SaveReportXml(xml, *options.xmlFile, error))
        return false;
    if (!options.odtFile && !options.pdfFile)
        return true;
    pugi::xml_document doc;
    doc.reset(xml);
    // The curves' picture waits in a folder of its own until the library has read it into the report; a
    // picture that cannot be written leaves the report without it, as in the desktop program.
    TemporaryFolder pictureFolder("talvex-curve-");
    std::filesystem::path picture;
    if (pictureFolder.Valid()) {
        picture = pictureFolder.Path() / "boiling_curve.svg";
        std::string pictureError;
        if (!WriteFileAtomically(picture, curvePictureSvg, &pictureError))
            picture.clear();
    }
    AppendBoilingCurvePicture(doc, picture);
    AppendProvenance(doc, provenance, deviceName);
    const std::filesystem::path templatePath = options.templateFile
                                                   ? std::filesystem::path(*options.templateFile)
                                                   : OdtTemplatePath(RunningProgramFolder());
    if (options.odtFile && !WriteOdt(doc, templatePath, *options.odtFile, error))
        return false;
    if (!options.pdfFile)
        return true;
    // Without --odt the report is written to a temporary folder just for the conversion.
    std::optional<TemporaryFolder> work;
    std::filesystem::path odt;
    if (options.odtFile) {
        odt = *options.odtFile;
    } else {
        work.emplace("talvex-report-");
        if (!work->Valid()) {
            error = "cannot create a temporary folder for the report";
            return false;
        }
        odt = work->Path() / "report.odt";
        if (!WriteOdt(doc, templatePath, odt, error))
            return false;
    }
    if (ConvertWithOffice(odt, "pdf", *options.pdfFile, kOfficeTimeLimit, error))
        return true;
    error = "cannot write " + *options.pdfFile + ": " + error;
    return false;
}

bool WriteSpreadsheet(const SpreadsheetInputs& results, const std::string& target, std::string& error) {
    const std::filesystem::path folder = RunningProgramFolder();
    UnoSpreadsheet office(SpreadsheetBridgePath(folder), kOfficeTimeLimit, kOfficeTimeLimit);
    AutomationFailure failure;
    if (SpreadsheetExport(office, XlsTemplatePath(folder), std::filesystem::absolute(target), results,
                          failure))
        return true;
    error = "cannot write " + target + ": " + failure.text;
    return false;
}

} // namespace talvex::cli
