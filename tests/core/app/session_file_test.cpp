#include "core/app/session_file.h"

#include "core/common/utc_time.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace talvex {
namespace {

SessionRecord FilledRecord() {
    SessionRecord r;
    r.programVersion = "0.1.0";
    r.savedAt = 1700000000;
    r.chromatograms = {{"/lab/runs/gd-1-fid.stg", "runs/gd-1-fid.stg", 165888, std::string(64, 'a'), 3},
                       {"/lab/Пробы/дк 1.stg", "", 1024, std::string(64, '0'), 0}};
    r.degassingMethod = MethodAModified;
    r.degassingTexts = {"99.8", "293.6", "0.0", "84.6", "1.7", "0.0118", "0.0004"};
    r.deviceName = "ГХ-2 зав. № 114";
    r.settings = {4, 1, 1, "75.5", "23.1", "0.05"};
    r.reportSwitches[3] = 0;
    r.dataFolder = "/lab/Talvex";
    r.dataFolderRelative = "../Talvex";
    r.dataFiles = {{"Comps.csv", std::string(64, 'b')}, {"CompsTime.csv", std::string(64, 'c')}};
    return r;
}

TEST(SessionFile, ReadsBackEveryMemberItWrote) {
    const SessionRecord saved = FilledRecord();
    std::string error;
    const std::optional<SessionRecord> read = SessionFromJson(SessionToJson(saved), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->formatVersion, kSessionFormatVersion);
    EXPECT_EQ(read->programVersion, "0.1.0");
    EXPECT_EQ(read->savedAt, 1700000000);
    ASSERT_EQ(read->chromatograms.size(), 2u);
    EXPECT_EQ(read->chromatograms[1].path, "/lab/Пробы/дк 1.stg");
    EXPECT_EQ(read->chromatograms[0].relativePath, "runs/gd-1-fid.stg");
    EXPECT_EQ(read->chromatograms[0].size, 165888u);
    EXPECT_EQ(read->chromatograms[0].fileId, 3);
    EXPECT_EQ(read->chromatograms[1].sha256, std::string(64, '0'));
    EXPECT_EQ(read->degassingMethod, MethodAModified);
    EXPECT_EQ(read->degassingTexts, saved.degassingTexts);
    EXPECT_EQ(read->deviceName, saved.deviceName);
    EXPECT_EQ(read->settings.decimals, 4);
    EXPECT_EQ(read->settings.mode, 1);
    EXPECT_EQ(read->settings.airCorrection, 1);
    EXPECT_EQ(read->settings.airCO2, "0.05");
    EXPECT_EQ(read->reportSwitches, saved.reportSwitches);
    EXPECT_EQ(read->dataFolder, "/lab/Talvex");
    EXPECT_EQ(read->dataFolderRelative, "../Talvex");
    ASSERT_EQ(read->dataFiles.size(), 2u);
    EXPECT_EQ(read->dataFiles[1].sha256, std::string(64, 'c'));
}

// Each case spoils one member of a good file; the reader refuses the whole file and says what is wrong.
TEST(SessionFile, RefusesDamagedAndForeignFilesWithTheReason) {
    const std::string good = SessionToJson(FilledRecord());
    struct Case {
        const char* what;
        std::function<void(nlohmann::json&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"another program's JSON", [](nlohmann::json& j) { j["format"] = "other"; }, "not a Talvex session"},
        {"a newer format", [](nlohmann::json& j) { j["formatVersion"] = 2; }, "newer program"},
        {"version zero", [](nlohmann::json& j) { j["formatVersion"] = 0; }, "out of range"},
        {"no files member", [](nlohmann::json& j) { j.erase("chromatograms"); },
         "\"chromatograms\" is missing"},
        {"a file as text", [](nlohmann::json& j) { j["chromatograms"][0] = "x.stg"; }, "is not an object"},
        {"a short digest", [](nlohmann::json& j) { j["chromatograms"][0]["sha256"] = "abc"; }, "SHA-256"},
        {"a negative size", [](nlohmann::json& j) { j["chromatograms"][0]["size"] = -1; }, "out of range"},
        {"an unknown method", [](nlohmann::json& j) { j["degassing"]["method"] = "C"; }, "none of A"},
        {"an input as number", [](nlohmann::json& j) { j["degassing"]["inputs"]["CondMass1"] = 84.6; },
         "is not a text"},
        {"a switch of 2", [](nlohmann::json& j) { j["reportSwitches"]["RezNLH"] = 2; }, "out of range"},
        {"a fractional decimals", [](nlohmann::json& j) { j["settings"]["QtyNumAfterDot"] = 3.5; },
         "whole number"},
        {"a bad time", [](nlohmann::json& j) { j["savedAt"] = "2023-02-30T00:00:00Z"; }, "UTC time"},
        {"a data digest", [](nlohmann::json& j) { j["dataFolder"]["files"]["Comps.csv"] = 1; }, "Comps.csv"},
    };
    for (const Case& c : cases) {
        nlohmann::json j = nlohmann::json::parse(good);
        c.spoil(j);
        std::string error;
        EXPECT_FALSE(SessionFromJson(j.dump(), error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
    for (const char* text : {"", "{", "[1,2]", "null", "\xff\xfe{}", "{\"format\":\"talvex-session\"}"}) {
        std::string error;
        EXPECT_FALSE(SessionFromJson(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(SessionFile, SavesAtomicallyAndRefusesAnOversizedFile) {
    testing::TempFolder dir;
    const auto path = dir / "run.tlvx";
    std::string error;
    ASSERT_TRUE(WriteSessionFile(path, FilledRecord(), error)) << error;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"run.tlvx"});
    ASSERT_TRUE(ReadSessionFile(path, error)) << error;

    const auto big = dir.Write("big.tlvx", std::string(kMaxSessionFileSize + 1, ' '));
    EXPECT_FALSE(ReadSessionFile(big, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_FALSE(ReadSessionFile(dir / "missing.tlvx", error));
    EXPECT_NE(error.find("missing.tlvx"), std::string::npos) << error;
}

TEST(UtcTime, WritesAndReadsIsoTimesInUtc) {
    EXPECT_EQ(FormatUtcTime(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(FormatUtcTime(1709626029), "2024-03-05T08:07:09Z");
    EXPECT_EQ(ParseUtcTime("2024-03-05T08:07:09Z"), 1709626029);
    EXPECT_EQ(ParseUtcTime("1969-12-31T23:59:59Z"), -1);
    for (const char* bad : {"2024-03-05 08:07:09Z", "2024-03-05T08:07:09", "2024-13-01T00:00:00Z",
                            "2024-02-30T00:00:00Z", "2024-03-05T24:00:00Z", "20240305T080709Z", ""})
        EXPECT_FALSE(ParseUtcTime(bad)) << bad;
}

} // namespace
} // namespace talvex
