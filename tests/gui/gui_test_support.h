#pragma once

// Helpers of the desktop program's tests: an isolated stored profile and small chromatogram files.

#include "methane_run.h"
#include "stg_writer.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <string>

namespace talvex::guitest {

// Points every QSettings of the process at a fresh folder, so that a test never reads or writes the
// operator's profile. Create it before anything opens a QSettings.
class IsolatedProfile {
public:
    IsolatedProfile() {
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, dir_.path());
    }
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A copy of the repository's data folder (Comps.csv, ...) below `folder`/data.
inline std::filesystem::path CopyShippedData(const std::filesystem::path& folder) {
    const std::filesystem::path data = folder / "data";
    std::filesystem::copy(std::filesystem::path(TALVEX_SOURCE_DIR) / "data", data,
                          std::filesystem::copy_options::recursive);
    return data;
}

// A small chromatogram with one methane peak; method and sample name decide its kind.
inline std::string WriteChromatogram(const std::filesystem::path& path, const std::string& method,
                                     const std::string& sample, std::int64_t analysisTime) {
    std::string error;
    if (!synth::WriteStg(path.string(), testing::MethaneRun(method, sample, analysisTime), &error))
        qFatal("cannot write %s: %s", path.string().c_str(), error.c_str());
    return path.string();
}

} // namespace talvex::guitest
