#include "core/messages/section_msg.h"
#include "message_fixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace talvex {
namespace {

TEST(SectionMsg, FactoriesCreateOnlyTheirOwnIds) {
    for (std::int32_t id : {-1, 0, 99, 105, 199, 200}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Section7_MSG::Create(id), nullptr);
    }
    for (std::int32_t id : {-1, 104, 199, 204, 100}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Section8_MSG::Create(id), nullptr);
    }
    for (std::int32_t id = 100; id <= 104; ++id)
        EXPECT_EQ(Section7_MSG::Create(id)->id, id);
    for (std::int32_t id = 200; id <= 203; ++id)
        EXPECT_EQ(Section8_MSG::Create(id)->id, id);
    const Section7_MSG fresh;
    EXPECT_EQ(fresh.id, -1);
    EXPECT_EQ(fresh.count, 0);
}

TEST(SectionMsg, TextsAreTheSameForCorrespondingIdsOfBothSections) {
    const COpenedChmFile tcd = GasSampleRun(3, COpenedChmFile::kTcd1, 1);
    int component = 0;
    struct Case {
        std::int32_t s7, s8;
        std::string expected;
    };
    const Case cases[] = {
        {101, 200, "ДТП-1, Газ, анализ - 2, безымянных пиков: 4"},
        {102, 201, "Метан (ДТП-1, Газ, анализ - 2)"},
        {103, 202, "Метан (задна группа: C5+)"},
        {104, 203, "Метан"},
    };
    for (const Case& c : cases) {
        auto s7 = MakeMsg<Section7_MSG>(c.s7, &tcd, "Метан", 4);
        auto s8 = MakeMsg<Section8_MSG>(c.s8, &tcd, "Метан", 4);
        s7->SetSubject(&component, "C5+");
        s8->SetSubject(&component, "C5+");
        EXPECT_EQ(s7->GetText(), c.expected);
        EXPECT_EQ(s8->GetText(), c.expected);
    }
    EXPECT_EQ(MakeMsg<Section7_MSG>(100, &tcd, "Метан")->GetText(), "");
}

TEST(SectionMsg, TextsWithoutTheirChromatogramOrSubjectStillRead) {
    EXPECT_EQ(MakeMsg<Section7_MSG>(101, nullptr, "", 2)->GetText(), "---, безымянных пиков: 2");
    EXPECT_EQ(MakeMsg<Section8_MSG>(201, nullptr, "Этан")->GetText(), "Этан (---)");
    EXPECT_EQ(MakeMsg<Section7_MSG>(103, nullptr, "Этан")->GetText(), "Этан (задна группа: )");
    // an analysis number of -1 reads 0
    const COpenedChmFile lone = GasSampleRun(1, COpenedChmFile::kTcd2, -1);
    EXPECT_EQ(MakeMsg<Section7_MSG>(101, &lone, "", 1)->GetText(),
              "ДТП-2, Газ, анализ - 0, безымянных пиков: 1");
}

TEST(SectionMsg, IsSameFollowsTheRuleOfEachId) {
    const COpenedChmFile fid = GasSampleRun(0, COpenedChmFile::kFid, 0);
    const COpenedChmFile tcd = GasSampleRun(1, COpenedChmFile::kTcd1, 0);
    int componentA = 0;
    int componentB = 0;
    auto withSubject = [](std::unique_ptr<Section7_MSG> m, const void* subject) {
        m->SetSubject(subject, "группа");
        return m;
    };
    struct Case {
        const char* what;
        std::unique_ptr<SysMsgHandler::SysMsg> a, b;
        bool same;
    };
    Case cases[] = {
        {"unnamed peaks, same chromatogram", MakeMsg<Section7_MSG>(101, &fid, "", 2),
         MakeMsg<Section7_MSG>(101, &fid, "", 5), true},
        {"unnamed peaks, other chromatogram", MakeMsg<Section7_MSG>(101, &fid),
         MakeMsg<Section7_MSG>(101, &tcd), false},
        {"missing peak, same text", MakeMsg<Section7_MSG>(102, &fid, "Метан"),
         MakeMsg<Section7_MSG>(102, &fid, "Метан"), true},
        {"missing peak, letter case differs", MakeMsg<Section7_MSG>(102, &fid, "Метан"),
         MakeMsg<Section7_MSG>(102, &fid, "метан"), false},
        {"missing peak, other chromatogram", MakeMsg<Section7_MSG>(102, &fid, "Метан"),
         MakeMsg<Section7_MSG>(102, &tcd, "Метан"), false},
        {"wrong group, same subject", withSubject(MakeMsg<Section7_MSG>(103, nullptr, "a"), &componentA),
         withSubject(MakeMsg<Section7_MSG>(103, nullptr, "b"), &componentA), true},
        {"wrong group, other subject", withSubject(MakeMsg<Section7_MSG>(103), &componentA),
         withSubject(MakeMsg<Section7_MSG>(103), &componentB), false},
        {"free text without subjects", MakeMsg<Section7_MSG>(104, nullptr, "x"),
         MakeMsg<Section7_MSG>(104, nullptr, "x"), false},
        {"free text, same subject", withSubject(MakeMsg<Section7_MSG>(104), &componentB),
         withSubject(MakeMsg<Section7_MSG>(104), &componentB), true},
        {"id 100", MakeMsg<Section7_MSG>(100), MakeMsg<Section7_MSG>(100), false},
        {"different ids", MakeMsg<Section7_MSG>(101, &fid), MakeMsg<Section7_MSG>(102, &fid), false},
        {"the two sections", MakeMsg<Section7_MSG>(101, &fid), MakeMsg<Section8_MSG>(200, &fid), false},
        {"section 8 unnamed peaks", MakeMsg<Section8_MSG>(200, &fid), MakeMsg<Section8_MSG>(200, &fid), true},
        {"section 8 missing peak, case", MakeMsg<Section8_MSG>(201, &fid, "Гексан"),
         MakeMsg<Section8_MSG>(201, &fid, "гексан"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.a->IsSame(*c.b), c.same);
        EXPECT_EQ(c.b->IsSame(*c.a), c.same);
    }
}

TEST(SectionMsg, ItemsDoNotDependOnTheChromatogramStayingInPlace) {
    auto msg = Section7_MSG::Create(102);
    msg->text = "Метан";
    {
        std::vector<COpenedChmFile> list{GasSampleRun(4, COpenedChmFile::kTcd2, 2)};
        msg->SetChromatogram(list.front());
    } // the list is gone, as after deleting the entry
    EXPECT_EQ(msg->GetText(), "Метан (ДТП-2, Газ, анализ - 3)");
}

} // namespace
} // namespace talvex
