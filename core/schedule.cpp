#include "schedule.h"

#include "datetime.h"
#include "text.h"

int DayBoxOfWeekday(int32_t weekday) {
    // The boxes count from Monday, weekdays from Sunday: Sunday is the last box.
    if (weekday < kSunday || weekday > kSaturday) return 0;
    return weekday == kSunday ? 7 : weekday - 1;
}

void OnToggleClicked(ScheduleView& view, Clock& clock) {
    const Text caption = view.ToggleCaption();
    if (TextEquals(caption, kDisarmedCaption)) {
        view.SetToggleCaption(kArmedCaption);
    } else if (TextEquals(caption, kArmedCaption)) {
        view.SetToggleCaption(kDisarmedCaption);
    }

    // The caption is the armed state; any caption but the armed one disarms.
    if (TextEquals(view.ToggleCaption(), kArmedCaption)) {
        ArmForToday(view, clock);
    } else {
        view.SetStatusText(kNoEventStatus);
        view.SetCheckTimerPeriod(0);
    }
}

void ArmForToday(ScheduleView& view, Clock& clock) {
    const int box = DayBoxOfWeekday(WeekdayOf(clock.Now()));
    if (box == 0 || !view.IsDayTicked(box)) return;
    view.SetCheckTimerPeriod(kCheckPeriodMs);
    CheckShutdownTime(view, clock);
}

void CheckShutdownTime(ScheduleView& view, Clock& clock) {
    const Text hour = view.HourText();
    const Text minute = view.MinuteText();
    const Text second = view.SecondText();
    view.SetStatusText(ConcatText({kStatusPrefix, hour, ":", minute, ":", second}));

    // One clock reading per field, in this order: hour and minute must be equal, the
    // second only reached, so a late tick within the set minute still fires.
    if (HourOf(clock.Now()) != TextToInt(hour)) return;
    if (MinuteOf(clock.Now()) != TextToInt(minute)) return;
    if (SecondOf(clock.Now()) < TextToInt(second)) return;

    view.OpenPromptWindow();
    view.SetCheckTimerPeriod(0);
}
