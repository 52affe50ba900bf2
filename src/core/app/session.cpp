#include "core/app/session.h"

#include "core/app/list_page.h"
#include "core/app/peak_page.h"
#include "core/chromatogram/analysis_grouping.h"
#include "core/common/calc_inputs.h"
#include "core/section7/gas_tables.h"
#include "core/section8/condensate_tables.h"

#include <algorithm>

namespace talvex {

Session::Session(SettingsStore& settings, std::filesystem::path dataFolder)
    : settings_(settings), dataFolder_(std::move(dataFolder)) {}

std::vector<std::string> Session::LoadComponents() {
    return components_.LoadComponents(dataFolder_);
}

bool Session::AddFiles(const std::vector<std::string>& paths) {
    skipped_.clear();
    for (const std::string& path : paths) {
        SkippedFile skipped;
        if (AddChromatogramFile(list_, path, nextFileId_, &skipped) != AcceptResult::Accepted)
            skipped_.push_back(std::move(skipped));
    }
    if (paths.empty())
        return true;
    selectedFileId_ = -1;
    return Recalculate();
}

bool Session::DeleteFiles(const std::vector<std::int32_t>& fileIds) {
    for (const std::int32_t id : fileIds) {
        const auto it = std::find_if(list_.begin(), list_.end(),
                                     [id](const COpenedChmFile& entry) { return entry.fileId == id; });
        if (it != list_.end())
            list_.erase(it);
    }
    selectedFileId_ = -1;
    return Recalculate();
}

bool Session::DeleteAll() {
    list_.clear();
    selectedFileId_ = -1;
    return Recalculate();
}

bool Session::Recalculate() {
    recalcError_.clear();
    log_.Clear();
    settings_.RemoveSection(kPathsSection);
    GroupAnalyses(list_);
    // The list and peak pages are built from the list on demand, so they show the new order from here on.
    ResetSection7(section7_);
    ResetCondensate(condensate_);
    ResetNlh(nlh_);
    // Reset before the retention times are read: should they fail, no page keeps results of the list
    // as it was before the change.
    if (!retentionTimes_.LoadTable(dataFolder_, components_, log_, &recalcError_)) {
        log_.Refresh();
        return false;
    }
    const CSettings stored = StoredSettings();
    const CalcInputs inputs{list_, components_, retentionTimes_, stored, log_, recalcError_};
    switch (stored.ModeCalc) {
    case kModeGasOnly:
        CalcSection7(section7_, inputs);
        break;
    case kModeLiquidOnly:
        CalcCondensate(condensate_, inputs);
        break;
    case kModeFull:
        CalcSection7(section7_, inputs);
        CalcCondensate(condensate_, inputs);
        CalcNLH(nlh_, section7_, condensate_, degassing_.Parameters(), inputs);
        break;
    default:
        break; // an unknown mode computes nothing but still renders the log
    }
    log_.Refresh();
    return recalcError_.empty();
}

GridModel Session::ListGrid() const {
    return BuildListGrid(list_);
}

GridModel Session::PeakGrid() const {
    return PeakGrid(selectedFileId_);
}

GridModel Session::PeakGrid(std::int32_t fileId) const {
    for (const COpenedChmFile& entry : list_)
        if (fileId >= 0 && entry.fileId == fileId)
            return BuildPeakGrid(entry.peaks);
    GridModel empty = BuildPeakGrid(CPeeksTable{});
    return empty;
}

CSettings Session::StoredSettings() const {
    CSettings stored;
    stored.Load(settings_);
    return stored;
}

GridModel Session::GasGrid(TableKind kind, int decimals) const {
    return GasPageGrid(section7_, kind, decimals);
}

GridModel Session::CondensateGrid(TableKind kind, int decimals) const {
    return CondensatePageGrid(condensate_, kind, decimals);
}

GridModel Session::MarkingGrid(TableKind kind, int decimals) const {
    return MarkingPageGrid(condensate_, kind, decimals);
}

GridModel Session::NlhGrid(int decimals) const {
    return NlhPageGrid(nlh_, decimals);
}

GridModel Session::DegassingGrid() const {
    return DegassingPageGrid(degassing_);
}

} // namespace talvex
