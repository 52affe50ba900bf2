#pragma once

#include "core/chromatogram/chromatogram_list.h"
#include "core/common/grid_model.h"
#include "core/common/settings.h"
#include "core/common/settings_store.h"
#include "core/common/table_kind.h"
#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"
#include "core/nlh/degassing.h"
#include "core/nlh/nlh.h"
#include "core/section7/section7.h"
#include "core/section8/condensate.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace talvex {

// One working session of the program: the chromatogram list with its list state, the component
// database, the retention-time table, the message log and every result. Every change ends in
// Recalculate, which rebuilds all results from scratch in a fixed order. Two sessions can live side by
// side: nothing here is global.
class Session {
public:
    // `settings` is the stored profile (it must outlive the session); `dataFolder` holds Comps.csv,
    // TableSection7.csv, TableSection8.csv and CompsTime.csv.
    Session(SettingsStore& settings, std::filesystem::path dataFolder);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Reads the component database, as the program does at start-up and after the component editor.
    // Returns the texts the operator must see, one per missing or unreadable file; empty on success.
    std::vector<std::string> LoadComponents();

    // The add operation: every path in order through the acceptance rule; then, when any path was given,
    // no chromatogram is selected and everything is recalculated. Returns Recalculate's result (true when
    // no path was given). The files it left out (unreadable, already listed, of a kind the calculations do
    // not use, a second control or blank run of a kind) are in SkippedFiles() until the next add.
    bool AddFiles(const std::vector<std::string>& paths);
    const std::vector<SkippedFile>& SkippedFiles() const { return skipped_; }
    // Removes the entries carrying these ids (unknown ids are skipped), then recalculates.
    bool DeleteFiles(const std::vector<std::int32_t>& fileIds);
    // Empties the list (the file counter runs on), then recalculates.
    bool DeleteAll();

    // The recalculation: clear the log, drop the profile's "paths" section, sort and group the list,
    // reread the retention times, load the settings, reset every result and run the calculations that
    // ModeCalc selects (0 gas, 1 condensate, 2 both and the unstable liquid), then render the log.
    // False when the retention-time file cannot be read (every result stays reset) or a calculation
    // cannot go on: RecalcError() tells why, and the log is rendered with what was posted so far.
    bool Recalculate();
    const std::string& RecalcError() const { return recalcError_; }

    const ChromatogramList& Chromatograms() const { return list_; }
    const ComponentTable& Components() const { return components_; }
    ComponentTable& Components() { return components_; }
    const RetentionTimeTable& RetentionTimes() const { return retentionTimes_; }
    MessageLog& Log() { return log_; }
    const MessageLog& Log() const { return log_; }
    SettingsStore& Settings() { return settings_; }
    const SettingsStore& Settings() const { return settings_; }
    const std::filesystem::path& DataFolder() const { return dataFolder_; }

    // The degassing page's values; the unstable-liquid calculation reads the method and the gas factor.
    DegassingPage& Degassing() { return degassing_; }
    const DegassingPage& Degassing() const { return degassing_; }

    const Section7Result& Section7() const { return section7_; }
    const CondensateResult& Condensate() const { return condensate_; }
    const NlhResult& Nlh() const { return nlh_; }

    std::int32_t NextFileId() const { return nextFileId_; }
    std::int32_t SelectedFileId() const { return selectedFileId_; }
    // Selects the chromatogram whose peaks the peak page shows; -1 (or an id not in the list) selects none.
    void SelectFile(std::int32_t fileId) { selectedFileId_ = fileId; }

    // The profile's settings as they are now, read once where a job starts (a page fill, a report build)
    // and handed to what it builds.
    CSettings StoredSettings() const;

    // Every page of the program as a grid model, built from the current results. The main window's
    // chromatogram list; the peak page of the selected chromatogram, or of the entry with `fileId` (only
    // the columns for an id not in the list).
    GridModel ListGrid() const;
    GridModel PeakGrid() const;
    GridModel PeakGrid(std::int32_t fileId) const;
    // The result pages with `decimals` places: the degassing gas, the degassed condensate and its marking
    // (which has no control with a standard: only the columns for those kinds) for a table kind, and the
    // unstable liquid.
    GridModel GasGrid(TableKind kind, int decimals) const;
    GridModel CondensateGrid(TableKind kind, int decimals) const;
    GridModel MarkingGrid(TableKind kind, int decimals) const;
    GridModel NlhGrid(int decimals) const;
    // The degassing page: its method and every field's caption and text.
    GridModel DegassingGrid() const;

private:
    SettingsStore& settings_;
    std::filesystem::path dataFolder_;
    ChromatogramList list_;
    ComponentTable components_;
    RetentionTimeTable retentionTimes_;
    MessageLog log_;
    Section7Result section7_;
    CondensateResult condensate_;
    NlhResult nlh_;
    DegassingPage degassing_;
    std::int32_t nextFileId_ = 0;
    std::int32_t selectedFileId_ = -1;
    std::string recalcError_;
    std::vector<SkippedFile> skipped_;
};

} // namespace talvex
