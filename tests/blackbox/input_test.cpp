// The main window's controls under the user's hands: where the keyboard starts, what the
// time boxes let through, and the contact link.
#include <cstring>

#include "program_driver.h"

namespace blackbox {
namespace {

constexpr char kContactCaptionPrefix[] = "联系作者QQ邮箱：";

using InputTest = BlackBoxTest;

TEST_F(InputTest, KeyboardStartsOnMondayAndTheSpaceBarTicksIt) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(main.window, nullptr), &info));
    ASSERT_EQ(info.hwndFocus, main.days[0]) << "focus on '" << WindowText(info.hwndFocus) << "'";
    PressKey(info.hwndFocus, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return IsTicked(main.days[0]); }, 3000));
}

struct TypingCase {
    const char* name;
    HWND MainControls::*box;
    const char* typed;     // ends with a character every box takes, so its arrival marks the end
    const char* expected;
};

void PrintTo(const TypingCase& typing, std::ostream* out) { *out << typing.name; }

const TypingCase kTypingCases[] = {
    {"HourDropsLetters", &MainControls::hour, "x1-a2", "1-2"},
    {"MinuteDropsLetters", &MainControls::minute, "-x5", "-5"},
    {"SecondTakesAnything", &MainControls::second, "x.9", "x.9"},
    {"ReminderDropsLetters", &MainControls::reminder, "1秒0", "10"},
};

class TypingTest : public BlackBoxTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(TypingTest, TypedCharactersPassTheNumberFilterOnlyWhereItIsOn) {
    const TypingCase& typing = GetParam();
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    HWND box = main.*typing.box;
    SetText(box, "");
    // Characters as the keyboard's translation delivers them; a double-byte character
    // arrives as its two bytes, each a character code of 128 or more.
    for (const char* c = typing.typed; *c; ++c) PostMessageA(box, WM_CHAR, static_cast<unsigned char>(*c), 1);
    WaitUntil([&] { return WindowText(box) == typing.expected; }, 3000);
    EXPECT_EQ(WindowText(box), typing.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TypingTest, ::testing::ValuesIn(kTypingCases),
                         [](const ::testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

enum class Arrow { Up, Down };

struct SpinCase {
    HWND MainControls::*box;
    const char* shown;
    Arrow arrow;
    const char* expected;
};

// The box's text alone decides the step; past either end of the range it wraps to the other.
const SpinCase kSpinCases[] = {
    {&MainControls::hour, "23", Arrow::Up, "0"},     {&MainControls::hour, "0", Arrow::Down, "23"},
    {&MainControls::hour, "00", Arrow::Up, "1"},     {&MainControls::hour, "", Arrow::Up, "1"},
    {&MainControls::hour, "x", Arrow::Up, "1"},      {&MainControls::hour, "-5", Arrow::Up, "0"},
    {&MainControls::hour, "-5", Arrow::Down, "23"},  {&MainControls::minute, "99", Arrow::Up, "0"},
    {&MainControls::minute, "99", Arrow::Down, "59"}, {&MainControls::second, "7", Arrow::Up, "8"},
    {&MainControls::reminder, "10", Arrow::Down, "9"},
};

TEST_F(InputTest, SpinArrowsStepTheTextAndWrapAtTheEndsOfTheRange) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    for (const SpinCase& spin : kSpinCases) {
        HWND box = main.*spin.box;
        SCOPED_TRACE(std::string("box at ") + std::to_string(RectInParent(box).left) + ", showing '" + spin.shown +
                     "', " + (spin.arrow == Arrow::Up ? "up" : "down"));
        HWND arrows = SpinArrowsOf(box);
        ASSERT_NE(arrows, nullptr) << "no arrows against the box's right edge";
        SetText(box, spin.shown);
        RECT client;
        GetClientRect(arrows, &client);
        const int y = spin.arrow == Arrow::Up ? client.bottom / 4 : client.bottom * 3 / 4;
        PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, y));
        PostMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(client.right / 2, y));
        WaitUntil([&] { return WindowText(box) == spin.expected; }, 3000);
        EXPECT_EQ(WindowText(box), spin.expected);
    }
}

TEST_F(InputTest, ContactLinkAsksTheShellToOpenTheMailAddressItShows) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    HWND link = FindChildByTextPrefix(main.window, kContactCaptionPrefix);
    ASSERT_NE(link, nullptr) << "no control captioned " << kContactCaptionPrefix;
    const RECT at = RectInParent(link);
    EXPECT_EQ(at.left, 8);
    EXPECT_EQ(at.top, 240);
    const std::string address = WindowText(link).substr(strlen(kContactCaptionPrefix));
    ASSERT_NE(address.find('@'), std::string::npos) << WindowText(link);

    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    auto mailUrls = [&] {
        std::vector<std::string> mail;
        for (const std::string& url : RecordedUrls(program->Id()))
            if (url.rfind("mailto:", 0) == 0) mail.push_back(url);
        return mail;
    };
    ASSERT_TRUE(WaitUntil([&] { return !mailUrls().empty(); })) << "no mailto: URL reached the shell";
    EXPECT_EQ(mailUrls(), std::vector<std::string>{"mailto:" + address});
}

}  // namespace
}  // namespace blackbox
