// Run only by road_to_shutdown.sh, in a throwaway Wine prefix: the countdown's end, and
// one scheduled shut-down, which ends every process of the prefix, this one included.
// What was seen goes line by line to the log named by VELMORA_ROAD_LOG, for the script.
#include <cstdio>
#include <cstdlib>

#include "program_driver.h"

namespace blackbox {
namespace {

// Time given to the forced shut-down to end this process after the count reached zero.
constexpr DWORD kShutdownGraceMs = 15000;

class RoadLog {
public:
    RoadLog() {
        const char* path = getenv("VELMORA_ROAD_LOG");
        if (path && *path) file_ = fopen(path, "ab");
    }
    ~RoadLog() {
        if (file_) fclose(file_);
    }
    RoadLog(const RoadLog&) = delete;
    RoadLog& operator=(const RoadLog&) = delete;

    bool Open() const { return file_ != nullptr; }
    // Flushed at once: the shut-down may end this process at any moment.
    void Line(const std::string& text) {
        fprintf(file_, "%s\n", text.c_str());
        fflush(file_);
    }

private:
    FILE* file_ = nullptr;
};

using RoadToShutdown = BlackBoxTest;

TEST_F(RoadToShutdown, CountdownWithoutSavedActionStopsAtZeroAndStaysOpen) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    PromptControls prompt;
    ASSERT_NO_FATAL_FAILURE(StartAndOpenPrompt(directory, "2", program, main, prompt));

    ASSERT_TRUE(WaitUntil([&] { return WindowText(prompt.remaining) == "剩余时间：0秒"; }, 5000))
        << "the label reads " << WindowText(prompt.remaining);
    Sleep(2500);
    EXPECT_TRUE(program->Running());
    EXPECT_TRUE(IsWindowVisible(prompt.window)) << "with no saved action the prompt stays open at zero";
    EXPECT_EQ(WindowText(prompt.remaining), "剩余时间：0秒") << "the count stops at zero";

    Click(prompt.giveUp);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt.window); }, 3000));
    EXPECT_TRUE(program->Running());
}

TEST_F(RoadToShutdown, ScheduledShutDownAfterTheCountdownEndsTheSession) {
    RoadLog log;
    ASSERT_TRUE(log.Open()) << "VELMORA_ROAD_LOG names no writable file; run this through road_to_shutdown.sh";
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    log.Line("started");

    // The user's road: today's box, a time a few seconds ahead, 关闭计算机, a reminder of
    // 3 seconds, 保存设置, then 开启自动关机.
    ASSERT_NO_FATAL_FAILURE(Tick(main.days[TodaysDayBox() - 1]));
    ASSERT_NO_FATAL_FAILURE(Tick(main.actions[0]));
    SetText(main.reminder, "3");
    const TimeTexts when = TimeFromNow(4);
    SetText(main.hour, when.hour);
    SetText(main.minute, when.minute);
    SetText(main.second, when.second);
    Click(main.save);
    const std::string settings = directory.File("close.ini");
    ASSERT_TRUE(WaitForLastLine(settings, "秒=3")) << "保存设置 did not write close.ini";
    log.Line("saved");
    Click(main.toggle);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main.toggle) == "关闭自动关机"; }, 3000));
    log.Line("armed");

    PromptControls prompt;
    ASSERT_NO_FATAL_FAILURE(WaitForPrompt(*program, prompt));
    log.Line("prompt opened");
    SaveScreenshot(CurrentTestArtifactName());

    std::string seen;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 8000 + kShutdownGraceMs) {
        const std::string text = WindowText(prompt.remaining);
        if (!text.empty() && text != seen) {
            seen = text;
            log.Line(text);
        }
        Sleep(20);
    }
    log.Line("survived the shut-down");
    FAIL() << "the countdown's shut-down did not end the session; last label: " << seen;
}

}  // namespace
}  // namespace blackbox
