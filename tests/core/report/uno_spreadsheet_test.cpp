#include "core/report/uno_spreadsheet.h"

#include "core/report/office_conversion.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvex {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

TEST(BridgeRequestLine, WritesOneJsonObjectWithTypedArguments) {
    struct Case {
        AutomationCall call;
        std::vector<AutomationValue> args;
        std::string line;
    };
    const AutomationTable block = {{std::string("Метан \"1\"\\"), 50.0, std::monostate{}},
                                   {std::string("---"), 0.125, -1e300 * 1e300}};
    const Case cases[] = {
        {AutomationCall::Method, {}, R"({"call":"method","target":7,"member":"M","args":[]})"},
        {AutomationCall::Method,
         {std::int32_t{2}},
         R"({"call":"method","target":7,"member":"M","args":[2]})"},
        {AutomationCall::PropertyGet,
         {std::string("A1:F\n2")},
         R"({"call":"get","target":7,"member":"M","args":["A1:F\u000a2"]})"},
        {AutomationCall::PropertyPut, {12.75}, R"({"call":"put","target":7,"member":"M","args":[12.75]})"},
        // A whole number stays a real number; an infinity, which JSON cannot carry, becomes an empty cell.
        {AutomationCall::PropertyPut,
         {block},
         R"({"call":"put","target":7,"member":"M","args":[[["Метан \"1\"\\",50.0,null],["---",0.125,null]]]})"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BridgeRequestLine(c.call, AutomationObject{7}, "M", c.args), c.line);
}

TEST(ParseBridgeAnswer, TellsResultsFromRefusals) {
    const AutomationAnswer object = ParseBridgeAnswer("ok\tobject\t12");
    EXPECT_EQ(object.kind, AutomationAnswer::Kind::Done);
    EXPECT_EQ(std::get<AutomationObject>(object.value), AutomationObject{12});

    const AutomationAnswer number = ParseBridgeAnswer("ok\tnumber\t12.812598425196851");
    EXPECT_EQ(std::get<double>(number.value), 12.812598425196851);

    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseBridgeAnswer("ok").value));

    const AutomationAnswer unknown = ParseBridgeAnswer("unknown\trange has no method Frob");
    EXPECT_EQ(unknown.kind, AutomationAnswer::Kind::UnknownMember);
    EXPECT_EQ(unknown.reason, "range has no method Frob");

    const AutomationAnswer failed = ParseBridgeAnswer("failed\tIOException: no file /x.xls");
    EXPECT_EQ(failed.kind, AutomationAnswer::Kind::Failed);
    EXPECT_EQ(failed.reason, "IOException: no file /x.xls");

    const AutomationAnswer garbage = ParseBridgeAnswer("Traceback (most recent call last):");
    EXPECT_EQ(garbage.kind, AutomationAnswer::Kind::Failed);
    EXPECT_THAT(garbage.reason, HasSubstr("unexpected answer"));
}

// Stand-ins for the bridge that misbehave in one way each; the office suite itself is never started.
class MisbehavingBridge : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FindOfficeSuite() || !FindProgram(kBridgeInterpreter))
            GTEST_SKIP() << "LibreOffice or " << kBridgeInterpreter << " is not installed";
    }
    std::filesystem::path Script(const std::string& body) { return dir_.Write("bridge.py", body); }
    testing::TempFolder dir_;
};

TEST_F(MisbehavingBridge, ABridgeThatNeverAnswersIsStoppedAtTheStartLimit) {
    UnoSpreadsheet office(Script("import time\ntime.sleep(60)\n"), 1s, 1s);
    AutomationObject application;
    std::string reason;
    EXPECT_FALSE(office.Start(application, reason));
    EXPECT_EQ(reason, "LibreOffice did not start within 1 s and was stopped");
}

TEST_F(MisbehavingBridge, ARequestWithoutAnswerFailsAndLaterOnesFailAtOnce) {
    UnoSpreadsheet office(Script("import sys, time\nprint('ready', flush=True)\nsys.stdin.readline()\n"
                                 "time.sleep(60)\n"),
                          10s, 1s);
    AutomationObject application;
    std::string reason;
    ASSERT_TRUE(office.Start(application, reason)) << reason;
    EXPECT_EQ(application, AutomationObject{1});
    const AutomationAnswer late = office.Invoke(AutomationCall::PropertyGet, application, "Workbooks", {});
    EXPECT_EQ(late.kind, AutomationAnswer::Kind::Failed);
    EXPECT_EQ(late.reason, "LibreOffice did not answer within 1 s and was stopped");
    const AutomationAnswer next = office.Invoke(AutomationCall::Method, application, "Quit", {});
    EXPECT_EQ(next.kind, AutomationAnswer::Kind::Failed);
    EXPECT_EQ(next.reason, "LibreOffice is not running");
}

TEST_F(MisbehavingBridge, ABridgeThatEndsTellsWhyFromWhatItPrinted) {
    UnoSpreadsheet office(Script("import sys\nsys.stderr.write('ImportError: no module named uno\\n')\n"),
                          10s, 1s);
    AutomationObject application;
    std::string reason;
    EXPECT_FALSE(office.Start(application, reason));
    EXPECT_EQ(reason, "the spreadsheet bridge ended at start: ImportError: no module named uno");

    UnoSpreadsheet refusing(Script("print('failed\\tthe office suite ended at start with status 1')\n"), 10s,
                            1s);
    EXPECT_FALSE(refusing.Start(application, reason));
    EXPECT_EQ(reason, "LibreOffice could not be started: the office suite ended at start with status 1");

    UnoSpreadsheet missing(dir_ / "no-such-bridge.py", 10s, 1s);
    EXPECT_FALSE(missing.Start(application, reason));
    EXPECT_THAT(reason, HasSubstr("no-such-bridge.py is missing"));
}

} // namespace
} // namespace talvex
