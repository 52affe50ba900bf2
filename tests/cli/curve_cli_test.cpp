#include "run_cli.h"

#include "test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

// The example session's results carry both boiling curves, and --curve writes their picture.
TEST(CurveCli, TheExampleSessionWritesItsCurvesIntoTheResultsAndThePicture) {
    testing::TempFolder dir;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    const auto r =
        RunProgram("talvex-cli",
                   {"run", "--session", (fs::path(TALVEX_SOURCE_DIR) / "examples" / "example.tlvx").string(),
                    "--json", (dir / "r.json").string(), "--curve", (dir / "c.svg").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(testing::ReadBytes(dir / "r.json"));
    const nlohmann::json& condensate = j["condensate"]["methodA"]["boilingCurve"];
    ASSERT_TRUE(condensate["result"].is_object());
    EXPECT_TRUE(condensate["reason"].is_null());
    EXPECT_TRUE(condensate["result"]["analysis"].is_null());
    ASSERT_EQ(condensate["analyses"].size(), 3u);
    EXPECT_EQ(condensate["analyses"][2]["analysis"], 3);
    for (const char* key : {"IBP", "T5", "T10", "T20", "T30", "T40", "T50", "T60", "T70", "T80", "T90", "T95",
                            "FBP", "lightEnd", "curveEnd"})
        EXPECT_TRUE(condensate["result"][key].is_number()) << key;
    EXPECT_EQ(condensate["result"]["yields"].size(), 6u);
    EXPECT_TRUE(condensate["result"]["yields"]["350"].is_number());
    EXPECT_EQ(condensate["result"]["points"][0].size(), 2u);
    EXPECT_LT(condensate["result"]["IBP"].get<double>(), condensate["result"]["FBP"].get<double>());
    const nlohmann::json& nlh = j["nlh"]["boilingCurve"];
    ASSERT_TRUE(nlh["result"].is_object());
    EXPECT_FALSE(nlh.contains("analyses"));

    const std::string svg = testing::ReadBytes(dir / "c.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("НЖУ"), std::string::npos);
}

} // namespace
} // namespace talvex
