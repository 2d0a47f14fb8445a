// Cost of one tick of the main window's check and one tick of the prompt's countdown.
#include <benchmark/benchmark.h>

#include <limits>
#include <string>

#include "countdown.h"
#include "datetime.h"
#include "schedule.h"

namespace {

class FixedClock final : public Clock {
public:
    DateTime Now() override { return now; }
    DateTime now = MakeDateTime(2024, 6, 3, 20, 0, 0);
};

// Keeps only what the check writes, so the measured work is the check itself.
class NoOpScheduleView final : public ScheduleView {
public:
    Text ToggleCaption() override { return kArmedCaption; }
    void SetToggleCaption(const Text&) override {}
    bool IsDayTicked(int) override { return true; }
    void SetDayTicked(int) override {}
    Text HourText() override { return "21"; }
    Text MinuteText() override { return "00"; }
    Text SecondText() override { return "00"; }
    Text ReminderText() override { return "30"; }
    void SetHourText(const Text&) override {}
    void SetMinuteText(const Text&) override {}
    void SetSecondText(const Text&) override {}
    void SetReminderText(const Text&) override {}
    bool IsActionChosen(int) override { return false; }
    void SetActionChosen(int, bool) override {}
    void SetStatusText(const Text& text) override { benchmark::DoNotOptimize(text.data()); }
    void SetCheckTimerPeriod(int32_t) override {}
    void OpenPromptWindow() override {}
};

class NoOpCountdownView final : public CountdownView {
public:
    void SetRemainingText(const Text& text) override { benchmark::DoNotOptimize(text.data()); }
    void SetCountdownTimerPeriod(int32_t) override {}
    void ClosePromptWindow() override {}
};

// A reminder so long that the benchmark never reaches the action.
class LongReminderStore final : public ProfileStore {
public:
    Text GetString(const Text&, const Text&, const Text&, const Text&) override {
        return std::to_string(std::numeric_limits<int32_t>::max());
    }
    bool PutString(const Text&, const Text&, const Text&, const Text&) override { return true; }
};

class NoOpPowerRunner final : public PowerActionRunner {
public:
    bool RunPowerAction(int32_t, bool) override { return false; }
};

void BM_ArmedCheckTick(benchmark::State& state) {
    NoOpScheduleView view;
    FixedClock clock;
    for (auto _ : state) CheckShutdownTime(view, clock);
}
BENCHMARK(BM_ArmedCheckTick);

void BM_CountdownTick(benchmark::State& state) {
    LongReminderStore store;
    NoOpPowerRunner power;
    NoOpCountdownView view;
    Countdown countdown(store, power);
    countdown.OnPromptCreated(view, "C:\\Tools");
    for (auto _ : state) countdown.OnCountdownTick(view);
}
BENCHMARK(BM_CountdownTick);

}  // namespace

BENCHMARK_MAIN();
