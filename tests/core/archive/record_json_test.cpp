// The spool's form of a record: everything comes back, bytes and missing numbers included.
#include "core/archive/record_json.h"
#include "core/common/sha256.h"
#include "test_records.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace talvex {
namespace {

using namespace archive;

TEST(RecordJson, RoundTripsEveryPart) {
    ArchiveRecord r = testing::MakeRecord(4);
    r.reason = "поправка";
    r.sessionJson = "{\"format\":\"talvex-session\"}\n";
    const std::string bytes = std::string("\0\x80\xff", 3);
    r.chromatogramFiles = {{"/runs/4.stg", Sha256Hex(bytes), bytes}};
    std::string error;
    const auto back = RecordFromJson(RecordToJson(r), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->id, r.id);
    EXPECT_EQ(back->fingerprint, r.fingerprint);
    EXPECT_EQ(back->resultsJson, r.resultsJson);
    EXPECT_EQ(back->sessionJson, r.sessionJson);
    EXPECT_EQ(back->reason, r.reason);
    EXPECT_EQ(back->log, r.log);
    ASSERT_EQ(back->dataFiles.size(), r.dataFiles.size());
    EXPECT_EQ(back->dataFiles[0].content, r.dataFiles[0].content);
    ASSERT_EQ(back->chromatogramFiles.size(), 1u);
    EXPECT_EQ(back->chromatogramFiles[0].content, bytes);
    ASSERT_EQ(back->controls.size(), r.controls.size());
    EXPECT_TRUE(std::isnan(back->controls[1].observation.limit));
    EXPECT_EQ(back->controls[2].observation.key.kind, controlchart::ControlKind::Oke);
    EXPECT_EQ(back->controls[0].observation.measured, r.controls[0].observation.measured);
    ASSERT_EQ(back->results.size(), 2u);
    EXPECT_FALSE(back->results[1].withinLimit.has_value());
    EXPECT_EQ(back->results[0].withinLimit, std::optional<bool>(true));
}

TEST(RecordJson, RefusesWhatIsNotAWholeRecord) {
    const std::string good = RecordToJson(testing::MakeRecord(1));
    std::string edited = good;
    edited.replace(edited.find("\"settings\":\"{"), 13, "\"settings\":\"{ ");
    const struct {
        const char* name;
        std::string text;
    } cases[] = {{"empty", ""},
                 {"cut short", good.substr(0, good.size() / 2)},
                 {"another format", "{\"format\":\"talvex-session\",\"version\":1}"},
                 {"inputs changed after the fingerprint", edited}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(RecordFromJson(c.text, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace talvex
