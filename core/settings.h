// close.ini: where it lives, what it holds, and how the main window is filled from it
// and saved back to it.
#pragma once

#include <array>
#include <cstdint>

#include "notice.h"
#include "profile.h"
#include "schedule_view.h"
#include "text.h"

// Sections and keys (code page 936 at run time).
inline constexpr char kDaysSection[] = "关机列表";
inline constexpr char kActionSection[] = "关机操作";
inline constexpr char kActionKey[] = "关机方式";
inline constexpr char kTimeSection[] = "关机时间";
inline constexpr char kHourKey[] = "小时";
inline constexpr char kMinuteKey[] = "分钟";
inline constexpr char kSecondKey[] = "秒";
inline constexpr char kReminderSection[] = "提醒时间";
inline constexpr char kReminderKey[] = "秒";
inline constexpr char kSettingsFileName[] = "close.ini";
inline constexpr char kInvalidTimeMessage[] = "时间输入格式不正确，请重新输入";

// Key of weekday box n (1 = 星期一 ... 7 = 星期日).
const char* DayKey(int box);

// The module path cut at its last backslash, searched character by character in
// code page 936 so that a trail byte 0x5C never cuts the path. No backslash: empty.
Text ExecutableDirectoryFromModulePath(const Text& modulePath);
// Appends a backslash unless the directory already ends with one (or with a slash,
// the separator of systems other than Windows).
Text RunDirectoryOf(const Text& executableDirectory);
// RunDirectory followed directly by "close.ini".
Text SettingsPathOf(const Text& runDirectory);

struct ScheduleSettings {
    std::array<bool, 7> dayFlags{};  // Monday first
    Text actionText;
    Text hourText;
    Text minuteText;
    Text secondText;
    Text reminderText;
};

ScheduleSettings ReadSettings(ProfileStore& store, const Text& path);

bool IsValidTime(int32_t hour, int32_t minute, int32_t second);

int32_t ReadReminderSeconds(ProfileStore& store, const Text& path);
int32_t ReadActionCode(ProfileStore& store, const Text& path);

// The main window's side of the settings file. It keeps the main window's copy of
// RunDirectory from the first load until the exit cleanup releases it.
class MainSettings {
public:
    MainSettings(ProfileStore& store, Notice& notice) : store_(store), notice_(notice) {}

    void LoadSettings(ScheduleView& view, const Text& executableDirectory);
    void SaveSettings(ScheduleView& view);

    const Text& RunDirectoryCopy() const { return runDirectory_; }
    void ReleaseRunDirectoryCopy() { runDirectory_.clear(); runDirectory_.shrink_to_fit(); }

private:
    ProfileStore& store_;
    Notice& notice_;
    Text runDirectory_;
};
