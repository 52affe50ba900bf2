#include "core/report/boiling_curve_report.h"

#include "core/common/number_text.h"
#include "core/curve/composition_curves.h"
#include "core/curve/curve_svg.h"
#include "core/curve/curve_values.h"

#include <algorithm>

namespace talvex {
namespace {

std::string WithComma(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

} // namespace

void WriteBoilingCurveReport(pugi::xml_node root, const CondensateResult& condensate, const NlhResult& nlh,
                             int decimals) {
    const CompositionCurves dk = CondensateCurves(condensate);
    const CompositionCurves liquid = NlhCurves(nlh);
    if (!root || (!dk.result && !liquid.result))
        return;
    pugi::xml_node table = root.append_child("Table20");
    const auto cell = [](pugi::xml_node row, const char* name, const std::string& text) {
        row.append_child(name).text().set(text.c_str());
    };
    for (const CurveValueRow& value : CurveValueRows(dk, liquid, decimals)) {
        pugi::xml_node row = table.append_child("row");
        cell(row, "title", value.title);
        cell(row, "DK_Val", WithComma(value.condensate));
        cell(row, "NLH_Val", WithComma(value.nlh));
    }
    // The rows left off a curve, each with its share.
    const auto unplaced = [&](const CompositionCurves& curves, bool isDk) {
        if (!curves.result)
            return;
        for (const auto& [name, share] : curves.result->unplaced) {
            pugi::xml_node row = table.append_child("row");
            cell(row, "title", "Не на кривой: " + name + ", масс. %");
            const std::string text = WithComma(FormatFixed(share, decimals));
            cell(row, "DK_Val", isDk ? text : "");
            cell(row, "NLH_Val", isDk ? "" : text);
        }
    };
    unplaced(dk, true);
    unplaced(liquid, false);
}

void AppendBoilingCurvePicture(pugi::xml_document& doc, const std::filesystem::path& picture) {
    pugi::xml_node root = doc.child("root");
    if (!root.child("Table20") || picture.empty())
        return;
    // The picture's table has one row; its frame takes the file named by "BoilCurvePic".
    while (root.remove_child("Table21") || root.remove_child("BoilCurvePic")) {
    }
    root.append_child("Table21").append_child("row");
    root.append_child("BoilCurvePic").text().set(picture.string().c_str());
}

std::string BoilingCurvePictureSvg(const CondensateResult& condensate, const NlhResult& nlh) {
    return BoilingCurvesSvg(CondensateCurves(condensate), NlhCurves(nlh));
}

} // namespace talvex
