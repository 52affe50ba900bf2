#pragma once

// Helpers of the desktop program's tests: an isolated stored profile and small chromatogram files.

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
    synth::StgContent c;
    c.passport.method = method;
    c.passport.sampleName = sample;
    c.passport.analysisTime = analysisTime;
    c.passport.samplingTime = analysisTime;
    c.samples = {0, 1, 3, 1, 0, 0};
    c.peaks.resize(1);
    c.peaks[0].name = "Метан";
    c.peaks[0].beginTime = 1;
    c.peaks[0].endTime = 3;
    std::string error;
    if (!synth::WriteStg(path.string(), c, &error))
        qFatal("cannot write %s: %s", path.string().c_str(), error.c_str());
    return path.string();
}

} // namespace talvex::guitest
