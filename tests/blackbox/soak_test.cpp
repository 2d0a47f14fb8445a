// Hours of use squeezed into a minute: clock ticks, tray clicks and prompts driven fast
// from outside, while the program's GDI and USER objects and private memory must level off.
// VELMORA_LONG_SOAK=1 runs the full counts (about 90 s under Wine); by default about 20 s.
#include <cstdio>
#include <cstdlib>

#include "program_driver.h"

namespace blackbox {
namespace {

// What a leak-free program may still grow by after its first hundred rounds: caches,
// fonts and heap pages that settle late.
constexpr DWORD kGdiSlack = 8;
constexpr DWORD kUserSlack = 8;
constexpr size_t kWindowSlack = 0;
constexpr SIZE_T kPrivateSlackBytes = 512 * 1024;
constexpr int kBaselineRounds = 100;

struct SoakCounts {
    int ticks;
    int trayCycles;
    int prompts;
};

constexpr SoakCounts kLongSoak = {10000, 1000, 300};
// The prompts need at least the baseline rounds and some more to show a trend.
constexpr SoakCounts kDefaultSoak = {2000, 200, 120};

SoakCounts CountsForThisRun() {
    const char* requested = getenv("VELMORA_LONG_SOAK");
    return requested && std::string(requested) == "1" ? kLongSoak : kDefaultSoak;
}

struct Growth {
    const char* phase;
    ProcessResources baseline;
    ProcessResources end;
};

void ExpectLevelledOff(const Growth& growth) {
    SCOPED_TRACE(growth.phase);
    if (growth.baseline.objectCountsKnown) {
        EXPECT_LE(growth.end.gdiObjects, growth.baseline.gdiObjects + kGdiSlack);
        EXPECT_LE(growth.end.userObjects, growth.baseline.userObjects + kUserSlack);
    }
    EXPECT_GT(growth.baseline.windows, 0u);
    EXPECT_LE(growth.end.windows, growth.baseline.windows + kWindowSlack);
    EXPECT_GT(growth.baseline.privateBytes, 0u) << "no memory figures for the program";
    EXPECT_LE(growth.end.privateBytes, growth.baseline.privateBytes + kPrivateSlackBytes);
}

std::string Figures(const Growth& growth) {
    char line[256];
    const std::string unknown = growth.baseline.objectCountsKnown ? "" : " (GetGuiResources not implemented)";
    snprintf(line, sizeof line, "gdi start/end=%lu/%lu user start/end=%lu/%lu%s windows start/end=%lu/%lu private KB start/end=%lu/%lu",
             static_cast<unsigned long>(growth.baseline.gdiObjects), static_cast<unsigned long>(growth.end.gdiObjects),
             static_cast<unsigned long>(growth.baseline.userObjects), static_cast<unsigned long>(growth.end.userObjects),
             unknown.c_str(), static_cast<unsigned long>(growth.baseline.windows),
             static_cast<unsigned long>(growth.end.windows),
             static_cast<unsigned long>(growth.baseline.privateBytes / 1024),
             static_cast<unsigned long>(growth.end.privateBytes / 1024));
    return line;
}

class SoakTest : public BlackBoxTest {
protected:
    // Runs the round the given number of times; the figures after the first hundred
    // rounds and at the end. Stops at the first fatal failure of a round.
    Growth Soak(const char* phase, int rounds, const std::function<void(int)>& round) {
        Growth growth{phase, {}, {}};
        for (int i = 0; i < rounds; ++i) {
            round(i);
            if (HasFatalFailure()) break;
            if (i + 1 == kBaselineRounds) growth.baseline = ResourcesOf(*program_);
        }
        growth.end = ResourcesOf(*program_);
        RecordProperty(std::string(phase) + "_figures", Figures(growth));
        return growth;
    }

    TempDirectory directory_;
    std::unique_ptr<RunningProgram> program_;
    MainControls main_;
};

void SetTimeBoxes(const MainControls& main, const TimeTexts& when) {
    SetText(main.hour, when.hour);
    SetText(main.minute, when.minute);
    SetText(main.second, when.second);
}

// Clicks 应用 until it reads the caption; one click flips the armed state.
void ClickToggleUntil(const MainControls& main, const char* caption) {
    if (WindowText(main.toggle) == caption) return;
    Click(main.toggle);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main.toggle) == caption; }, 3000))
        << "the toggle reads " << WindowText(main.toggle) << ", expected " << caption;
}

TEST_F(SoakTest, TicksTrayClicksAndPromptsLeaveNoGrowingResources) {
    const SoakCounts counts = CountsForThisRun();
    // No action saved: a prompt that ran out would do nothing.
    ASSERT_TRUE(WriteFileBytes(directory_.File("close.ini"), TodayWithoutAction("30")));
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory_.Path(), program_, main_));
    HWND checkTimer = TimerControlAt(main_.actionGroup, kCheckTimerAt);
    HWND clockTimer = TimerControlAt(main_.actionGroup, kClockTimerAt);
    ASSERT_NE(checkTimer, nullptr) << "no hidden timer control at 80,74 in 关机操作";
    ASSERT_NE(clockTimer, nullptr) << "no hidden timer control at 136,74 in 关机操作";
    const DWORD started = GetTickCount();

    // Armed three hours off: every check tick compares and finds no match.
    SetTimeBoxes(main_, TimeFromNow(3 * 3600));
    ASSERT_NO_FATAL_FAILURE(ClickToggleUntil(main_, "关闭自动关机"));
    const Growth ticks = Soak("ticks", counts.ticks, [&](int) {
        ASSERT_TRUE(SendTimerTick(clockTimer)) << "the clock tick was not handled";
        ASSERT_TRUE(SendTimerTick(checkTimer)) << "the check tick was not handled";
    });
    EXPECT_EQ(FindTopLevel(program_->Id(), kPromptTitle), nullptr) << "a check that never matches opened the prompt";
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(WindowText(main_.clock).rfind(std::to_string(now.wYear) + "年", 0), 0u) << WindowText(main_.clock);
    ASSERT_NO_FATAL_FAILURE(ClickToggleUntil(main_, "开启自动关机"));

    const Growth tray = Soak("tray", counts.trayCycles, [&](int) {
        for (bool visibleAfter : {false, true}) {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutA(main_.window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP,
                                            SMTO_ABORTIFHUNG, 3000, &answer));
            ASSERT_TRUE(WaitUntil([&] { return (IsWindowVisible(main_.window) != FALSE) == visibleAfter; }, 3000))
                << "a tray click did not " << (visibleAfter ? "show" : "hide") << " the window";
        }
    });

    const Growth prompts = Soak("prompts", counts.prompts, [&](int round) {
        // Arming checks at once; the second is only reached, so the set time now matches
        // unless the minute turns meanwhile, which the next try covers.
        HWND window = nullptr;
        for (int attempt = 0; attempt < 2 && !window; ++attempt) {
            ASSERT_NO_FATAL_FAILURE(ClickToggleUntil(main_, "开启自动关机"));
            SetTimeBoxes(main_, TimeFromNow(0));
            ASSERT_NO_FATAL_FAILURE(ClickToggleUntil(main_, "关闭自动关机"));
            window = program_->WaitForTopLevel(kPromptTitle, nullptr, 3000);
        }
        ASSERT_NE(window, nullptr) << "round " << round << ": the prompt did not open";
        PromptControls prompt;
        std::string missing;
        ASSERT_TRUE(prompt.Locate(window, &missing)) << missing;
        if (round % 2 == 0)
            Click(prompt.giveUp);
        else
            PressKey(prompt.actNow, VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 3000)) << "round " << round << ": the prompt stayed";
    });
    const DWORD seconds = (GetTickCount() - started) / 1000;

    EXPECT_TRUE(program_->Running());
    const Growth whole{"whole run", ticks.baseline, prompts.end};
    for (const Growth* growth : {&ticks, &tray, &prompts, &whole}) ExpectLevelledOff(*growth);
    RecordProperty("seconds", static_cast<int>(seconds));
    printf("soak: ticks=%d tray_cycles=%d prompts=%d %s seconds=%lu\n", counts.ticks, counts.trayCycles,
           counts.prompts, Figures(whole).c_str(), static_cast<unsigned long>(seconds));
    for (const Growth* growth : {&ticks, &tray, &prompts, &whole})
        printf("soak %s: %s\n", growth->phase, Figures(*growth).c_str());
}

}  // namespace
}  // namespace blackbox
