#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "fakes.h"
#include "ini_file.h"
#include "settings.h"
#include "temp_dir.h"

namespace {

TEST(ExecutableDirectoryTest, CutsAtTheLastRealBackslash) {
    const struct {
        const char *modulePath, *expected;
    } cases[] = {
        {"C:\\Tools\\x.exe", "C:\\Tools"},
        {"C:\\x.exe", "C:"},
        {"\\\\server\\share\\x.exe", "\\\\server\\share"},
        {"C:\\工具\\每日.exe", "C:\\工具"},
        // "昞" is 0x95 0x5C: its trail byte is no separator.
        {"C:\\\x95\x5C\\x.exe", "C:\\\x95\x5C"},
        {"C:\\a\x95\x5C" "b.exe", "C:"},
        {"D:\\\x95\x5C\x95\x5C", "D:"},
        {"x.exe", ""},
        {"\x95\x5C" "x.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExecutableDirectoryFromModulePath(c.modulePath), c.expected) << c.modulePath;
    }
}

TEST(SettingsPathTest, JoinsDirectoryBackslashAndFileName) {
    const struct {
        const char *executableDirectory, *runDirectory, *settingsPath;
    } cases[] = {
        {"C:\\Tools", "C:\\Tools\\", "C:\\Tools\\close.ini"},
        {"C:", "C:\\", "C:\\close.ini"},
        {"C:\\", "C:\\", "C:\\close.ini"},
        {"\\\\server\\share", "\\\\server\\share\\", "\\\\server\\share\\close.ini"},
        {"C:\\\x95\x5C", "C:\\\x95\x5C\\", "C:\\\x95\x5C\\close.ini"},
        {"/opt/velmora/", "/opt/velmora/", "/opt/velmora/close.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunDirectoryOf(c.executableDirectory), c.runDirectory) << c.executableDirectory;
        EXPECT_EQ(SettingsPathOf(RunDirectoryOf(c.executableDirectory)), c.settingsPath);
    }
    EXPECT_EQ(SettingsPathOf(RunDirectoryOf(ExecutableDirectoryFromModulePath("C:\\Tools\\x.exe"))),
              "C:\\Tools\\close.ini");
}

TEST(DayKeyTest, NamesMondayFirst) {
    const char* const keys[] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
    for (int box = 1; box <= 7; ++box) EXPECT_STREQ(DayKey(box), keys[box - 1]);
    EXPECT_STREQ(DayKey(0), "");
    EXPECT_STREQ(DayKey(8), "");
}

TEST(IsValidTimeTest, AcceptsExactlyTheClockRange) {
    const struct {
        int32_t hour, minute, second;
        bool valid;
    } cases[] = {
        {0, 0, 0, true},   {23, 59, 59, true}, {22, 30, 0, true},
        {24, 0, 0, false}, {0, 60, 0, false},  {0, 0, 60, false},
        {-1, 0, 0, false}, {0, -1, 0, false},  {0, 0, -1, false},
        {INT32_MIN, 0, 0, false}, {0, INT32_MAX, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidTime(c.hour, c.minute, c.second), c.valid)
            << c.hour << ':' << c.minute << ':' << c.second;
    }
}

// Logs every read and write on the way to a real file store.
class LoggingProfileStore final : public ProfileStore {
public:
    explicit LoggingProfileStore(std::vector<std::string>& log) : log_(log) {}
    Text GetString(const Text& path, const Text& section, const Text& key,
                   const Text& defaultText) override {
        log_.push_back("get:" + section + "/" + key + "|" + defaultText);
        return files_.GetString(path, section, key, defaultText);
    }
    bool PutString(const Text& path, const Text& section, const Text& key,
                   const Text& value) override {
        log_.push_back("put:" + section + "/" + key + "=" + value);
        return files_.PutString(path, section, key, value);
    }

private:
    IniFileStore files_;
    std::vector<std::string>& log_;
};

class LoggingNotice final : public Notice {
public:
    explicit LoggingNotice(std::vector<std::string>& log) : log_(log) {}
    void ShowMessage(const Text& text) override { log_.push_back("message:" + text); }

private:
    std::vector<std::string>& log_;
};

class SettingsFileTest : public testing::Test {
protected:
    std::string FileText() const { return dir.ReadFile(kSettingsFileName); }
    std::string Path() const { return dir.PathOf(kSettingsFileName); }
    void Load(RecordingScheduleView& target) { settings.LoadSettings(target, dir.Directory()); }
    void Save() { settings.SaveSettings(view); }
    std::vector<std::string> Puts() const {
        std::vector<std::string> puts;
        for (const std::string& entry : log) {
            if (entry.rfind("get:", 0) != 0) puts.push_back(entry);
        }
        return puts;
    }

    TempDirectory dir;
    std::vector<std::string> log;
    LoggingProfileStore store{log};
    LoggingNotice notice{log};
    MainSettings settings{store, notice};
    RecordingScheduleView view;
};

TEST_F(SettingsFileTest, FirstSaveWritesEveryKeyInOrder) {
    Load(view);
    view.dayTicked = {true, true, true, true, true, false, false};
    view.actionChosen = {true, false, false};
    view.hour = "22";
    view.minute = "30";
    view.second = "0";
    view.reminder = "10";
    Save();
    EXPECT_EQ(FileText(),
              "[关机列表]\r\n"
              "星期一=Y\r\n星期二=Y\r\n星期三=Y\r\n星期四=Y\r\n星期五=Y\r\n星期六=N\r\n星期日=N\r\n"
              "[关机操作]\r\n关机方式=1\r\n"
              "[关机时间]\r\n小时=22\r\n分钟=30\r\n秒=0\r\n"
              "[提醒时间]\r\n秒=10\r\n");
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& entry) { return entry.rfind("message:", 0) == 0; }),
              0);
}

TEST_F(SettingsFileTest, SaveStoresNumbersAndLeavesTheBoxesAlone) {
    Load(view);
    view.hour = "08";
    view.minute = "abc";
    view.second = "０７";
    Save();
    EXPECT_EQ(store.GetString(Path(), "关机时间", "小时", ""), "8");
    EXPECT_EQ(store.GetString(Path(), "关机时间", "分钟", ""), "0");
    EXPECT_EQ(store.GetString(Path(), "关机时间", "秒", ""), "7");
    EXPECT_EQ(view.hour, "08");
    EXPECT_EQ(view.minute, "abc");

    RecordingScheduleView nextStart;
    Load(nextStart);
    EXPECT_EQ(nextStart.hour, "8");
    EXPECT_EQ(nextStart.minute, "0");
    EXPECT_EQ(nextStart.second, "7");
}

TEST_F(SettingsFileTest, InvalidTimeShowsTheMessageAndKeepsTheStoredTime) {
    const struct {
        const char *hour, *minute, *second;
    } cases[] = {{"24", "0", "0"}, {"0", "60", "0"}, {"0", "0", "-1"}};
    for (const auto& c : cases) {
        dir.WriteFile(kSettingsFileName, "[关机时间]\r\n小时=7\r\n分钟=8\r\n秒=9\r\n");
        Load(view);
        log.clear();
        view.dayTicked = {false, false, true, false, false, false, false};
        view.actionChosen = {false, true, false};
        view.hour = c.hour;
        view.minute = c.minute;
        view.second = c.second;
        view.reminder = "15";
        Save();
        const std::vector<std::string> expected = {
            "put:关机列表/星期一=N", "put:关机列表/星期二=N", "put:关机列表/星期三=Y",
            "put:关机列表/星期四=N", "put:关机列表/星期五=N", "put:关机列表/星期六=N",
            "put:关机列表/星期日=N", "put:关机操作/关机方式=2",
            std::string("message:") + "时间输入格式不正确，请重新输入",
            "put:提醒时间/秒=15"};
        EXPECT_EQ(Puts(), expected) << c.hour << ':' << c.minute << ':' << c.second;
        EXPECT_EQ(FileText(),
                  "[关机时间]\r\n小时=7\r\n分钟=8\r\n秒=9\r\n"
                  "[关机列表]\r\n"
                  "星期一=N\r\n星期二=N\r\n星期三=Y\r\n星期四=N\r\n星期五=N\r\n星期六=N\r\n星期日=N\r\n"
                  "[关机操作]\r\n关机方式=2\r\n"
                  "[提醒时间]\r\n秒=15\r\n");
    }
}

TEST_F(SettingsFileTest, InvalidTimeOnAFirstSaveLeavesTheTimeKeysMissing) {
    Load(view);
    view.hour = "25";
    Save();
    EXPECT_EQ(FileText().find("关机时间"), std::string::npos);
    RecordingScheduleView nextStart;
    Load(nextStart);
    EXPECT_EQ(nextStart.hour, "00");
}

TEST_F(SettingsFileTest, EmptyReminderIsStoredEmptyAndReadAsZero) {
    Load(view);
    view.reminder = "";
    Save();
    EXPECT_NE(FileText().find("[提醒时间]\r\n秒=\r\n"), std::string::npos);
    EXPECT_EQ(ReadReminderSeconds(store, Path()), 0);
    RecordingScheduleView nextStart;
    Load(nextStart);
    EXPECT_EQ(nextStart.reminder, "");
}

TEST_F(SettingsFileTest, ReminderIsStoredAsTypedAndReadByItsLeadingDigits) {
    Load(view);
    view.reminder = "10秒";
    Save();
    EXPECT_NE(FileText().find("[提醒时间]\r\n秒=10秒\r\n"), std::string::npos);
    EXPECT_EQ(ReadReminderSeconds(store, Path()), 10);
}

TEST_F(SettingsFileTest, NoRadioChosenWritesNoAction) {
    Load(view);
    view.actionChosen = {false, false, false};
    Save();
    EXPECT_EQ(FileText().find("关机操作"), std::string::npos);
    EXPECT_EQ(ReadActionCode(store, Path()), 0);

    dir.WriteFile(kSettingsFileName, "[关机操作]\r\n关机方式=3\r\n");
    Save();
    EXPECT_EQ(ReadActionCode(store, Path()), 3);
    EXPECT_EQ(FileText().rfind("[关机操作]\r\n关机方式=3\r\n[关机列表]\r\n", 0), 0u);
}

TEST_F(SettingsFileTest, EachChosenRadioIsWrittenInTurn) {
    Load(view);
    view.actionChosen = {true, false, true};
    Save();
    const std::vector<std::string> puts = Puts();
    EXPECT_EQ(puts[7], "put:关机操作/关机方式=1");
    EXPECT_EQ(puts[8], "put:关机操作/关机方式=3");
    EXPECT_EQ(ReadActionCode(store, Path()), 3);
}

TEST_F(SettingsFileTest, LoadOnlyTicksOnExactY) {
    dir.WriteFile(kSettingsFileName,
                  "[关机列表]\r\n星期一=Y\r\n星期二=y\r\n星期三=N\r\n星期四=yes\r\n星期五=1\r\n"
                  "星期六= Y \r\n星期日=\"Y\"\r\n");
    view.dayTicked = {false, false, true, false, false, false, false};
    Load(view);
    const std::array<bool, 7> expected = {true, false, true, false, false, true, true};
    EXPECT_EQ(view.dayTicked, expected);
}

TEST_F(SettingsFileTest, LoadSelectsARadioOnlyForAnExactCode) {
    const struct {
        const char* stored;
        std::array<bool, 3> expected;
    } cases[] = {
        {"1", {true, false, false}},  {"2", {false, true, false}}, {"3", {false, false, true}},
        {"4", {true, false, true}},   {"01", {true, false, true}}, {"1x", {true, false, true}},
        {"", {true, false, true}},    {"0", {true, false, true}},
    };
    for (const auto& c : cases) {
        dir.WriteFile(kSettingsFileName, std::string("[关机操作]\r\n关机方式=") + c.stored + "\r\n");
        RecordingScheduleView target;
        target.actionChosen = {true, false, true};  // a state no load would leave
        Load(target);
        EXPECT_EQ(target.actionChosen, c.expected) << c.stored;
    }
}

TEST_F(SettingsFileTest, LoadPutsStoredTextsIntoTheBoxesUnchecked) {
    dir.WriteFile(kSettingsFileName,
                  "[关机时间]\r\n小时=abc\r\n分钟=99\r\n秒=-1\r\n[提醒时间]\r\n秒=十\r\n");
    Load(view);
    EXPECT_EQ(view.hour, "abc");
    EXPECT_EQ(view.minute, "99");
    EXPECT_EQ(view.second, "-1");
    EXPECT_EQ(view.reminder, "十");
}

TEST_F(SettingsFileTest, MissingFileGivesTheDefaults) {
    Load(view);
    EXPECT_EQ(view.hour, "00");
    EXPECT_EQ(view.minute, "00");
    EXPECT_EQ(view.second, "00");
    EXPECT_EQ(view.reminder, "30");
    EXPECT_EQ(view.dayTicked, (std::array<bool, 7>{}));
    EXPECT_EQ(view.actionChosen, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(ReadReminderSeconds(store, Path()), 30);
    EXPECT_EQ(ReadActionCode(store, Path()), 0);
    EXPECT_FALSE(dir.Exists(kSettingsFileName));
}

TEST_F(SettingsFileTest, ReadActionCodeTakesLeadingDigits) {
    const struct {
        const char* stored;
        int32_t expected;
    } cases[] = {{"1", 1}, {"01", 1}, {"2x", 2}, {" 3 ", 3}, {"", 0}, {"关机", 0}};
    for (const auto& c : cases) {
        dir.WriteFile(kSettingsFileName, std::string("[关机操作]\r\n关机方式=") + c.stored + "\r\n");
        EXPECT_EQ(ReadActionCode(store, Path()), c.expected) << c.stored;
    }
}

TEST_F(SettingsFileTest, ReadSettingsReadsEachValueOnceInOrder) {
    ReadSettings(store, Path());
    const std::vector<std::string> expected = {
        "get:关机列表/星期一|N", "get:关机列表/星期二|N", "get:关机列表/星期三|N",
        "get:关机列表/星期四|N", "get:关机列表/星期五|N", "get:关机列表/星期六|N",
        "get:关机列表/星期日|N", "get:关机时间/小时|00",  "get:关机时间/分钟|00",
        "get:关机时间/秒|00",    "get:提醒时间/秒|30",    "get:关机操作/关机方式|"};
    EXPECT_EQ(log, expected);
}

TEST_F(SettingsFileTest, KeepsTheRunDirectoryFromLoadUntilReleased) {
    EXPECT_EQ(settings.RunDirectoryCopy(), "");
    Load(view);
    EXPECT_EQ(settings.RunDirectoryCopy(), dir.Directory());
    Save();
    EXPECT_TRUE(dir.Exists(kSettingsFileName));
    settings.ReleaseRunDirectoryCopy();
    EXPECT_EQ(settings.RunDirectoryCopy(), "");
}

TEST_F(SettingsFileTest, SaveThenLoadRestoresTheWindow) {
    Load(view);
    view.dayTicked = {false, true, false, true, false, false, true};
    view.actionChosen = {false, false, true};
    view.hour = "6";
    view.minute = "5";
    view.second = "4";
    view.reminder = "45";
    Save();

    RecordingScheduleView nextStart;
    Load(nextStart);
    EXPECT_EQ(nextStart.dayTicked, view.dayTicked);
    EXPECT_EQ(nextStart.actionChosen, view.actionChosen);
    EXPECT_EQ(nextStart.hour, "6");
    EXPECT_EQ(nextStart.minute, "5");
    EXPECT_EQ(nextStart.second, "4");
    EXPECT_EQ(nextStart.reminder, "45");
}

}  // namespace
