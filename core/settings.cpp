#include "settings.h"

namespace {

constexpr int kDayCount = 7;
constexpr int kActionCount = 3;
constexpr char kDayTicked[] = "Y";
constexpr char kDayNotTicked[] = "N";
constexpr char kTimeDefault[] = "00";
constexpr char kReminderDefault[] = "30";
constexpr char kNoDefault[] = "";

bool StartsDoubleByteCharacter(char c) { return static_cast<unsigned char>(c) >= 0x81; }

// Offset of the last real backslash (not the trail byte of a double-byte character),
// or Text::npos.
size_t LastBackslash(const Text& path) {
    size_t found = Text::npos;
    for (size_t i = 0; i < path.size();) {
        if (StartsDoubleByteCharacter(path[i]) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (path[i] == '\\') found = i;
        ++i;
    }
    return found;
}

// The action written for radio button n is its number, "1" to "3".
Text ActionTextOf(int button) { return IntToText(button); }

}  // namespace

const char* DayKey(int box) {
    static const char* const kKeys[kDayCount] = {"星期一", "星期二", "星期三", "星期四",
                                                 "星期五", "星期六", "星期日"};
    if (box < 1 || box > kDayCount) return "";
    return kKeys[box - 1];
}

Text ExecutableDirectoryFromModulePath(const Text& modulePath) {
    const size_t separator = LastBackslash(modulePath);
    if (separator == Text::npos) return Text();
    return modulePath.substr(0, separator);
}

Text RunDirectoryOf(const Text& executableDirectory) {
    // Only a real final backslash counts: a directory name may end in a trail byte 0x5C.
    // A final slash, which Windows never reports but other systems use, counts as well.
    const bool endsWithSeparator =
        !executableDirectory.empty() &&
        (executableDirectory.back() == '/' ||
         LastBackslash(executableDirectory) == executableDirectory.size() - 1);
    if (endsWithSeparator) return executableDirectory;
    return ConcatText({executableDirectory, "\\"});
}

Text SettingsPathOf(const Text& runDirectory) {
    return ConcatText({runDirectory, kSettingsFileName});
}

ScheduleSettings ReadSettings(ProfileStore& store, const Text& path) {
    ScheduleSettings settings;
    for (int box = 1; box <= kDayCount; ++box) {
        const Text flag = ReadProfileText(store, path, kDaysSection, DayKey(box), kDayNotTicked);
        settings.dayFlags[box - 1] = TextEquals(flag, kDayTicked);
    }
    settings.hourText = ReadProfileText(store, path, kTimeSection, kHourKey, kTimeDefault);
    settings.minuteText = ReadProfileText(store, path, kTimeSection, kMinuteKey, kTimeDefault);
    settings.secondText = ReadProfileText(store, path, kTimeSection, kSecondKey, kTimeDefault);
    settings.reminderText =
        ReadProfileText(store, path, kReminderSection, kReminderKey, kReminderDefault);
    settings.actionText = ReadProfileText(store, path, kActionSection, kActionKey, kNoDefault);
    return settings;
}

bool IsValidTime(int32_t hour, int32_t minute, int32_t second) {
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

int32_t ReadReminderSeconds(ProfileStore& store, const Text& path) {
    return TextToInt(ReadProfileText(store, path, kReminderSection, kReminderKey, kReminderDefault));
}

int32_t ReadActionCode(ProfileStore& store, const Text& path) {
    return TextToInt(ReadProfileText(store, path, kActionSection, kActionKey, kNoDefault));
}

void MainSettings::LoadSettings(ScheduleView& view, const Text& executableDirectory) {
    runDirectory_ = RunDirectoryOf(executableDirectory);
    const ScheduleSettings settings = ReadSettings(store_, SettingsPathOf(runDirectory_));

    // Loading only ever ticks: a box the file leaves unticked keeps its state.
    for (int box = 1; box <= kDayCount; ++box) {
        if (settings.dayFlags[box - 1]) view.SetDayTicked(box);
    }
    view.SetHourText(settings.hourText);
    view.SetMinuteText(settings.minuteText);
    view.SetSecondText(settings.secondText);
    view.SetReminderText(settings.reminderText);

    for (int chosen = 1; chosen <= kActionCount; ++chosen) {
        if (!TextEquals(settings.actionText, ActionTextOf(chosen))) continue;
        for (int button = 1; button <= kActionCount; ++button) {
            view.SetActionChosen(button, button == chosen);
        }
        break;
    }
}

void MainSettings::SaveSettings(ScheduleView& view) {
    const Text path = SettingsPathOf(runDirectory_);
    for (int box = 1; box <= kDayCount; ++box) {
        WriteProfileText(store_, path, kDaysSection, DayKey(box),
                         view.IsDayTicked(box) ? kDayTicked : kDayNotTicked);
    }
    for (int button = 1; button <= kActionCount; ++button) {
        if (view.IsActionChosen(button)) {
            WriteProfileText(store_, path, kActionSection, kActionKey, ActionTextOf(button));
        }
    }

    const int32_t hour = TextToInt(view.HourText());
    const int32_t minute = TextToInt(view.MinuteText());
    const int32_t second = TextToInt(view.SecondText());
    if (IsValidTime(hour, minute, second)) {
        WriteProfileText(store_, path, kTimeSection, kHourKey, IntToText(hour));
        WriteProfileText(store_, path, kTimeSection, kMinuteKey, IntToText(minute));
        WriteProfileText(store_, path, kTimeSection, kSecondKey, IntToText(second));
    } else {
        notice_.ShowMessage(kInvalidTimeMessage);
    }

    WriteProfileText(store_, path, kReminderSection, kReminderKey, view.ReminderText());
}
