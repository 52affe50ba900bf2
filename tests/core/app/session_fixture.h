#pragma once
// A session over a copy of the shipped data folder, with chromatogram files made in "files/" of a temporary
// folder: what the session tests share.

#include "core/app/session.h"
#include "core/common/settings_store.h"
#include "methane_run.h"
#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace talvex::testing {

class SessionFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_ / "files");
        CopyShippedDataFolder(dir_ / "data");
        session_ = std::make_unique<Session>(profile_, dir_ / "data");
        ASSERT_TRUE(session_->LoadComponents().empty());
    }

    // A methane run written as files/NAME; its path.
    std::string Chromatogram(const std::string& name, const std::string& method, const std::string& sample,
                             std::int64_t analysisTime) {
        const std::string path = (dir_ / "files" / name).string();
        std::string error;
        EXPECT_TRUE(synth::WriteStg(path, MethaneRun(method, sample, analysisTime), &error)) << error;
        return path;
    }

    TempFolder dir_;
    MemorySettingsStore profile_;
    std::unique_ptr<Session> session_;
};

} // namespace talvex::testing
