// Arming the daily schedule and the per-second check of the set time.
#pragma once

#include "clock.h"
#include "schedule_view.h"

inline constexpr char kDisarmedCaption[] = "开启自动关机";
inline constexpr char kArmedCaption[] = "关闭自动关机";
inline constexpr char kNoEventStatus[] = "无关机事件";
inline constexpr char kStatusPrefix[] = "关机时间为";
constexpr int32_t kCheckPeriodMs = 1000;

// Box (选择框n) that belongs to a Weekday (1 = Sunday ... 7 = Saturday).
int DayBoxOfWeekday(int32_t weekday);

void OnToggleClicked(ScheduleView& view, Clock& clock);
void ArmForToday(ScheduleView& view, Clock& clock);
void CheckShutdownTime(ScheduleView& view, Clock& clock);
