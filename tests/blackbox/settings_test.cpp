// "保存设置" as the user sees it: what lands in close.ini, the invalid-time message, and
// what the next start shows from the file.
#include <algorithm>

#include "program_driver.h"

namespace blackbox {
namespace {

constexpr char kInvalidTimeMessage[] = "时间输入格式不正确，请重新输入";

struct SaveCase {
    const char* name;
    std::vector<int> tickedDays;  // 1 = 星期一 ... 7 = 星期日
    int action;                   // 1 ... 3: 单选框1 ... 单选框3
    const char* hour;
    const char* minute;
    const char* second;
    const char* reminder;
    std::vector<std::string> expectedLines;
    // The boxes at the next start: the stored forms of the time, the reminder as typed.
    const char* reloadedHour;
    const char* reloadedMinute;
    const char* reloadedSecond;
};

std::vector<std::string> WeekdayLines(const std::vector<int>& ticked) {
    std::vector<std::string> lines = {"[关机列表]"};
    for (int day = 1; day <= 7; ++day) {
        const bool on = std::find(ticked.begin(), ticked.end(), day) != ticked.end();
        lines.push_back(std::string(kDayNames[day - 1]) + "=" + (on ? "Y" : "N"));
    }
    return lines;
}

std::vector<std::string> Joined(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const SaveCase kSaveCases[] = {
    {"WeekdaysShutDownAt2230", {1, 2, 3, 4, 5}, 1, "22", "30", "0", "10",
     Joined(WeekdayLines({1, 2, 3, 4, 5}),
            {"[关机操作]", "关机方式=1", "[关机时间]", "小时=22", "分钟=30", "秒=0", "[提醒时间]", "秒=10"}),
     "22", "30", "0"},
    {"LeadingZeroAndLettersAreStoredAsNumbersTheEmptyReminderAsEmpty", {7}, 3, "08", "05", "abc", "",
     Joined(WeekdayLines({7}),
            {"[关机操作]", "关机方式=3", "[关机时间]", "小时=8", "分钟=5", "秒=0", "[提醒时间]", "秒="}),
     "8", "5", "0"},
    {"ReminderIsStoredAsTyped", {6}, 2, "23", "59", "59", "10秒",
     Joined(WeekdayLines({6}),
            {"[关机操作]", "关机方式=2", "[关机时间]", "小时=23", "分钟=59", "秒=59", "[提醒时间]", "秒=10秒"}),
     "23", "59", "59"},
};

void PrintTo(const SaveCase& save, std::ostream* out) { *out << save.name; }

class SaveSettingsTest : public BlackBoxTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveSettingsTest, WritesTheFileAndTheNextStartShowsIt) {
    const SaveCase& save = GetParam();
    TempDirectory directory;
    const std::string settings = directory.File("close.ini");
    {
        std::unique_ptr<RunningProgram> program;
        MainControls main;
        ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
        for (int day : save.tickedDays) ASSERT_NO_FATAL_FAILURE(Tick(main.days[day - 1]));
        ASSERT_NO_FATAL_FAILURE(Tick(main.actions[save.action - 1]));
        SetText(main.hour, save.hour);
        SetText(main.minute, save.minute);
        SetText(main.second, save.second);
        SetText(main.reminder, save.reminder);
        Click(main.save);
        WaitUntil([&] { return NonBlankLines(settings) == save.expectedLines; });
        EXPECT_EQ(NonBlankLines(settings), save.expectedLines);
        EXPECT_EQ(WindowText(main.hour), save.hour) << "saving leaves the boxes as typed";
        EXPECT_EQ(program->WaitForDialog(0), nullptr) << "a valid time shows no message";
    }

    std::unique_ptr<RunningProgram> restarted;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), restarted, main));
    EXPECT_EQ(WindowText(main.hour), save.reloadedHour);
    EXPECT_EQ(WindowText(main.minute), save.reloadedMinute);
    EXPECT_EQ(WindowText(main.second), save.reloadedSecond);
    EXPECT_EQ(WindowText(main.reminder), save.reminder);
    for (int day = 1; day <= 7; ++day) {
        const bool expected = std::find(save.tickedDays.begin(), save.tickedDays.end(), day) != save.tickedDays.end();
        EXPECT_EQ(IsTicked(main.days[day - 1]), expected) << WindowText(main.days[day - 1]);
    }
    for (int action = 1; action <= 3; ++action)
        EXPECT_EQ(IsTicked(main.actions[action - 1]), action == save.action) << WindowText(main.actions[action - 1]);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveSettingsTest, ::testing::ValuesIn(kSaveCases),
                         [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

using InvalidTimeTest = BlackBoxTest;

TEST_F(InvalidTimeTest, MessageComesBetweenTheActionAndTheReminderAndTheStoredTimeStays) {
    TempDirectory directory;
    const std::string settings = directory.File("close.ini");
    ASSERT_TRUE(WriteFileBytes(settings, "[关机时间]\r\n小时=6\r\n分钟=7\r\n秒=8\r\n"));
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    EXPECT_EQ(WindowText(main.hour), "6");
    EXPECT_EQ(WindowText(main.minute), "7");
    EXPECT_EQ(WindowText(main.second), "8");

    ASSERT_NO_FATAL_FAILURE(Tick(main.days[0]));
    SetText(main.hour, "24");
    SetText(main.reminder, "15");
    Click(main.save);
    HWND box = program->WaitForTopLevel(kInfoTitle, kDialogClass);
    ASSERT_NE(box, nullptr) << "no message box titled 信息：";
    SaveScreenshot(CurrentTestArtifactName());
    EXPECT_EQ(MessageBoxText(box), kInvalidTimeMessage);

    const std::vector<std::string> timeLines = {"[关机时间]", "小时=6", "分钟=7", "秒=8"};
    const std::vector<std::string> whileShown = Joined(Joined(timeLines, WeekdayLines({1})), {"[关机操作]", "关机方式=1"});
    EXPECT_EQ(NonBlankLines(settings), whileShown) << "the weekdays and the action are written before the message, "
                                                      "the reminder only after it";

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const std::vector<std::string> afterwards = Joined(whileShown, {"[提醒时间]", "秒=15"});
    WaitUntil([&] { return NonBlankLines(settings) == afterwards; });
    EXPECT_EQ(NonBlankLines(settings), afterwards);
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(WindowText(main.hour), "24");
}

}  // namespace
}  // namespace blackbox
