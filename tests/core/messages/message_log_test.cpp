#include "core/messages/message_log.h"
#include "core/messages/section_msg.h"
#include "message_fixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace talvex {
namespace {

const char* const kBlankHeader = "Не задана хроматограмма холостого опыта для газа дегазации.";
const char* const kUnnamedHeader = "В хроматограммах газа дегазации (ГД) найдены безымянные пики:";
const char* const kMissingHeader = "Следующие пики не найдены в списке компонентов программы (ГД):";

// The degassing-gas calculation's types, registered the way it does.
void RegisterGasTypes(MessageLog& log) {
    SysMsgHandler& h = log.Handler();
    ASSERT_EQ(h.RegisterType(100, kMsgWarning, kBlankHeader, true), 100);
    ASSERT_EQ(h.RegisterType(101, kMsgWarning, kUnnamedHeader, false), 101);
    ASSERT_EQ(h.RegisterType(102, kMsgError, kMissingHeader, false), 102);
}

std::unique_ptr<Section7_MSG> UnnamedPeaks(const COpenedChmFile& chm, int count) {
    return MakeMsg<Section7_MSG>(101, &chm, {}, count);
}

std::unique_ptr<Section7_MSG> MissingPeak(const COpenedChmFile& chm, std::string peak) {
    return MakeMsg<Section7_MSG>(102, &chm, std::move(peak));
}

// Records when the log lets go of it.
class TrackedMsg : public SysMsgHandler::SysMsg {
public:
    explicit TrackedMsg(bool* destroyed, bool sameAsAll = false)
        : destroyed_(destroyed), sameAsAll_(sameAsAll) {}
    ~TrackedMsg() override { *destroyed_ = true; }
    bool IsSame(const SysMsg&) const override { return sameAsAll_; }
    std::string GetText() const override { return "item"; }

private:
    bool* destroyed_;
    bool sameAsAll_;
};

TEST(MessageLog, ComposesNumberedTextsWithTypedMessagesAfterTheDirectOnes) {
    MessageLog log;
    RegisterGasTypes(log);
    const COpenedChmFile fid = GasSampleRun(0, COpenedChmFile::kFid, 0);
    const COpenedChmFile tcd = GasSampleRun(1, COpenedChmFile::kTcd1, 0);
    SysMsgHandler& h = log.Handler();

    log.PostText(kMsgError, "Ошибка расчета.\r\n\tСТО, формула (1)");
    EXPECT_EQ(h.Post(101, UnnamedPeaks(fid, 2)), 101);
    EXPECT_EQ(h.Post(101, UnnamedPeaks(fid, 5)), 101); // the same chromatogram: shown once
    EXPECT_EQ(h.Post(101, UnnamedPeaks(tcd, 1)), 101);
    log.PostText(kMsgWarning, "Мало анализов.");
    EXPECT_EQ(h.Post(100), 100);
    EXPECT_EQ(h.Post(102, MissingPeak(fid, "Метан")), 102);
    EXPECT_EQ(h.Post(102, MissingPeak(fid, "метан")), 102); // differs in letter case: shown too
    EXPECT_EQ(h.Post(102, MissingPeak(fid, "Метан")), 102);
    log.PostText(kMsgInfo, "Расчет выполнен.");
    log.Refresh();

    const std::string expected =
        "1.  Ошибка! \r\n\tОшибка расчета.\r\n\tСТО, формула (1)\r\n"
        "2.  Ошибка! \r\n\tСледующие пики не найдены в списке компонентов программы (ГД):"
        "\r\n\t\t - Метан (ПИД, Газ, анализ - 1)\r\n\t\t - метан (ПИД, Газ, анализ - 1)\r\n\r\n"
        "3. Предупреждение! \r\n\tМало анализов.\r\n"
        "4. Предупреждение! \r\n\tНе задана хроматограмма холостого опыта для газа дегазации.\r\n\r\n"
        "5. Предупреждение! \r\n\tВ хроматограммах газа дегазации (ГД) найдены безымянные пики:"
        "\r\n\t\t - ПИД, Газ, анализ - 1, безымянных пиков: 2\r\n\t\t - ДТП-1, Газ, анализ - 1, безымянных "
        "пиков: 1"
        "\r\n\r\n"
        "6. Информация! \r\n\tРасчет выполнен.\r\n";
    EXPECT_EQ(log.LogText(), expected);
    EXPECT_EQ(log.Compose(), expected);

    log.Refresh(); // a second rendering does not repeat the typed messages
    EXPECT_EQ(log.LogText(), expected);
}

TEST(MessageLog, EmptyLogReadsTheSameWhateverTheFilters) {
    MessageLog log;
    RegisterGasTypes(log);
    log.PostText(3, "a kind that does not exist");
    log.PostText(-1, "nor does this one");
    log.Refresh();
    const std::string empty = "\r\n \tПредупреждений и ошибок нет.";
    EXPECT_TRUE(log.IsEmpty());
    EXPECT_EQ(log.LogText(), empty);
    log.SetFilters(false, false, false);
    EXPECT_EQ(log.LogText(), empty);
}

TEST(MessageLog, FiltersHideKindsAndNumberOnlyWhatIsShown) {
    MessageLog log;
    log.PostText(kMsgError, "E");
    log.PostText(kMsgWarning, "W1");
    log.PostText(kMsgWarning, "W2");
    log.PostText(kMsgInfo, "I");
    log.Refresh();
    const std::string all = log.LogText();
    EXPECT_EQ(all, "1.  Ошибка! \r\n\tE\r\n2. Предупреждение! \r\n\tW1\r\n3. Предупреждение! \r\n\tW2\r\n"
                   "4. Информация! \r\n\tI\r\n");

    struct Case {
        bool errors, warnings, info;
        std::string text;
    };
    const Case cases[] = {
        {false, true, false, "1. Предупреждение! \r\n\tW1\r\n2. Предупреждение! \r\n\tW2\r\n"},
        {true, false, true, "1.  Ошибка! \r\n\tE\r\n2. Информация! \r\n\tI\r\n"},
        {false, false, true, "1. Информация! \r\n\tI\r\n"},
        {false, false, false, ""},
        {true, true, true, all}, // toggling back gives the earlier text exactly
    };
    for (const Case& c : cases) {
        log.SetFilters(c.errors, c.warnings, c.info);
        EXPECT_EQ(log.LogText(), c.text);
        EXPECT_EQ(log.ShowErrors(), c.errors);
        EXPECT_EQ(log.ShowWarnings(), c.warnings);
        EXPECT_EQ(log.ShowInfo(), c.info);
    }
}

TEST(MessageLog, HeaderOnlyTypeShowsItsHeaderOnce) {
    MessageLog log;
    ASSERT_EQ(log.Handler().RegisterType(7, kMsgInfo, "Только заголовок", true), 7);
    bool destroyed[3] = {};
    for (bool& d : destroyed)
        EXPECT_EQ(log.Handler().Post(7, std::make_unique<TrackedMsg>(&d)), 7);
    log.Refresh();
    EXPECT_EQ(log.LogText(), "1. Информация! \r\n\tТолько заголовок\r\n\r\n");
}

TEST(MessageLog, PostResults) {
    MessageLog log;
    RegisterGasTypes(log);
    SysMsgHandler& h = log.Handler();

    bool destroyed = false;
    EXPECT_EQ(h.Post(555, std::make_unique<TrackedMsg>(&destroyed)), -1);
    EXPECT_TRUE(destroyed);     // not stored
    EXPECT_EQ(h.Post(101), -2); // a listing type needs an item
    EXPECT_EQ(h.Post(100), 100);

    bool first = false;
    bool duplicate = false;
    EXPECT_EQ(h.Post(101, std::make_unique<TrackedMsg>(&first)), 101);
    EXPECT_EQ(h.Post(101, std::make_unique<TrackedMsg>(&duplicate, true)), 101);
    EXPECT_FALSE(first);
    EXPECT_TRUE(duplicate); // dropped at once
    EXPECT_EQ(h.Types()[1].items.size(), 1u);

    log.Refresh();
    EXPECT_EQ(log.Texts(kMsgWarning),
              (std::vector<std::string>{std::string(kBlankHeader) + "\r\n",
                                        std::string(kUnnamedHeader) + "\r\n\t\t - item\r\n"}));
    EXPECT_TRUE(log.Texts(kMsgError).empty()); // 102 got nothing
    log.Clear();
    EXPECT_TRUE(first); // the log owned it until the clear
}

TEST(MessageLog, RegisteringAnIdTwiceIsRefusedWithADebugMessage) {
    MessageLog log;
    std::vector<std::string> boxes;
    log.SetMessageBox([&](const std::string& text) { boxes.push_back(text); });
    RegisterGasTypes(log);
    EXPECT_EQ(log.Handler().RegisterType(101, kMsgError, "другой", false), -1);
    const std::string debug =
        "### Отладочное сообщение ### \r\nНеудалось создать сообщение. Ответ: -1. msgID: 101";
    EXPECT_EQ(log.Texts(kMsgError), std::vector<std::string>{debug});
    EXPECT_EQ(boxes, std::vector<std::string>{debug});
    EXPECT_EQ(log.Handler().Types().size(), 3u);
    EXPECT_EQ(log.Handler().Types()[1].header, kUnnamedHeader);

    // -1 is refused silently
    EXPECT_EQ(log.Handler().RegisterType(-1, kMsgInfo, "x", true), -1);
    EXPECT_EQ(log.Handler().RegisterType(-1, kMsgInfo, "y", true), -1);
    EXPECT_EQ(log.Texts(kMsgError).size(), 1u);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST(MessageLog, PostDebugShowsABoxOnlyWhenAsked) {
    MessageLog log;
    int boxes = 0;
    log.SetMessageBox([&](const std::string&) { ++boxes; });
    log.PostDebug(false, "тихо");
    log.PostDebug(true, "громко");
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(log.Texts(kMsgError), (std::vector<std::string>{"### Отладочное сообщение ### \r\nтихо",
                                                              "### Отладочное сообщение ### \r\nгромко"}));
}

TEST(MessageLog, ClearEmptiesTextsAndItemsButKeepsTypes) {
    MessageLog log;
    RegisterGasTypes(log);
    const COpenedChmFile fid = GasSampleRun(0, COpenedChmFile::kFid, 0);
    log.PostText(kMsgError, "E");
    log.Handler().Post(101, UnnamedPeaks(fid, 1));
    log.Handler().Post(100);
    log.Refresh();
    ASSERT_FALSE(log.IsEmpty());

    log.Clear();
    EXPECT_TRUE(log.IsEmpty());
    for (std::int32_t kind : {kMsgError, kMsgWarning, kMsgInfo})
        EXPECT_TRUE(log.Texts(kind).empty());
    ASSERT_EQ(log.Handler().Types().size(), 3u);
    for (const auto& type : log.Handler().Types()) {
        EXPECT_FALSE(type.hasItems);
        EXPECT_TRUE(type.items.empty());
    }
    log.Refresh();
    EXPECT_EQ(log.LogText(), "\r\n \tПредупреждений и ошибок нет.");

    // the next recalculation posts to the same types
    EXPECT_EQ(log.Handler().Post(101, UnnamedPeaks(fid, 3)), 101);
    log.Refresh();
    EXPECT_EQ(log.LogText(), std::string("1. Предупреждение! \r\n\t") + kUnnamedHeader +
                                 "\r\n\t\t - ПИД, Газ, анализ - 1, безымянных пиков: 3\r\n\r\n");
}

} // namespace
} // namespace talvex
