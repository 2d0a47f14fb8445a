// The clock label's work for one second of the clock timer, and one load and one save
// of close.ini through the file store.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "clock.h"
#include "ini_file.h"
#include "settings.h"

namespace {

// The main window reduced to fields, without logging, so that only the settings work counts.
class QuietScheduleView final : public ScheduleView {
public:
    Text ToggleCaption() override { return "开启自动关机"; }
    void SetToggleCaption(const Text&) override {}
    bool IsDayTicked(int box) override { return (box <= 5) != alternate; }
    void SetDayTicked(int) override {}
    Text HourText() override { return alternate ? "23" : "22"; }
    Text MinuteText() override { return alternate ? "31" : "30"; }
    Text SecondText() override { return alternate ? "1" : "0"; }
    Text ReminderText() override { return alternate ? "11" : "10"; }
    void SetHourText(const Text&) override {}
    void SetMinuteText(const Text&) override {}
    void SetSecondText(const Text&) override {}
    void SetReminderText(const Text&) override {}
    bool IsActionChosen(int button) override { return button == (alternate ? 2 : 1); }
    void SetActionChosen(int, bool) override {}
    void SetStatusText(const Text&) override {}
    void SetCheckTimerPeriod(int32_t) override {}
    void OpenPromptWindow() override {}

    bool alternate = false;  // a second set of values, so that every key really changes
};

class SilentNotice final : public Notice {
public:
    void ShowMessage(const Text&) override {}
};

class BenchDirectory {
public:
    BenchDirectory() {
        std::random_device seed;
        do {
            path_ = std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(seed()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~BenchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string WithSeparator() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

void BM_ClockLabelText(benchmark::State& state) {
    SystemClock clock;
    for (auto _ : state) benchmark::DoNotOptimize(ClockLabelText(clock));
}
BENCHMARK(BM_ClockLabelText);

void BM_LoadSettings(benchmark::State& state) {
    BenchDirectory directory;
    IniFileStore store;
    SilentNotice notice;
    QuietScheduleView view;
    MainSettings settings(store, notice);
    settings.LoadSettings(view, directory.WithSeparator());
    settings.SaveSettings(view);  // a full file, as after the first save
    for (auto _ : state) settings.LoadSettings(view, directory.WithSeparator());
}
BENCHMARK(BM_LoadSettings);

void BM_SaveSettings(benchmark::State& state) {
    BenchDirectory directory;
    IniFileStore store;
    SilentNotice notice;
    QuietScheduleView view;
    MainSettings settings(store, notice);
    settings.LoadSettings(view, directory.WithSeparator());
    settings.SaveSettings(view);
    for (auto _ : state) {
        view.alternate = !view.alternate;
        settings.SaveSettings(view);
    }
}
BENCHMARK(BM_SaveSettings);

// A save of the values already stored: the file is read for every key but never written.
void BM_SaveSettingsUnchanged(benchmark::State& state) {
    BenchDirectory directory;
    IniFileStore store;
    SilentNotice notice;
    QuietScheduleView view;
    MainSettings settings(store, notice);
    settings.LoadSettings(view, directory.WithSeparator());
    settings.SaveSettings(view);
    for (auto _ : state) settings.SaveSettings(view);
}
BENCHMARK(BM_SaveSettingsUnchanged);

}  // namespace

// The bench executable is built from every file in bench/; another file may bring its own
// BENCHMARK_MAIN, whose strong main then takes the place of this weak one.
__attribute__((weak)) int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
