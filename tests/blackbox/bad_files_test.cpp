// A close.ini that is damaged or cannot be used: the program still starts, shows what it
// can read, survives 保存设置, and a save never throws away lines that are not its own.
// Also two copies of the program sharing one close.ini.
#include <algorithm>

#include "program_driver.h"

namespace blackbox {
namespace {

constexpr char kSettingsName[] = "close.ini";
constexpr char kReminderSection[] = "[提醒时间]";
// Every readable case ends with this reminder, so the start shows it.
constexpr char kReadableTail[] = "[提醒时间]\r\n秒=7\r\n";
constexpr char kSavedReminder[] = "42";
constexpr DWORD kSaveWaitMs = 15000;
// A save that must fail has this long to do harm.
constexpr DWORD kFailedSaveGraceMs = 2500;

enum class Obstacle { None, ReadOnly, LockedByAnotherProcess, Directory };

struct BadFileCase {
    const char* name;
    std::string bytes;
    Obstacle obstacle;
    const char* reminderAtStart;  // what the reminder box shows; null: not checked
    // Lines of the file the program does not own, which every save must keep.
    std::vector<std::string> foreignLines;
};

// Binary noise between marker lines: the noise may be reshaped by the profile functions,
// the plain marker lines around it may not be lost.
BadFileCase BinaryGarbage() {
    std::string bytes;
    std::vector<std::string> markers;
    unsigned state = 12345;
    for (int block = 0; block < 8; ++block) {
        for (int i = 0; i < 512; ++i) {
            state = state * 1103515245u + 12345u;
            bytes += static_cast<char>(state >> 24);
        }
        markers.push_back("garbage-marker-" + std::to_string(block) + "=kept");
        bytes += "\r\n" + markers.back() + "\r\n";
    }
    return {"BinaryGarbage", bytes + kReadableTail, Obstacle::None, "7", markers};
}

BadFileCase Huge() {
    constexpr size_t kHugeBytes = 10 * 1024 * 1024;
    std::string bytes = "[填充]\r\n";
    const std::string filler(80, 'x');
    for (int key = 0; bytes.size() < kHugeBytes; ++key) bytes += "k" + std::to_string(key) + "=" + filler + "\r\n";
    const std::string last = "huge-marker=kept";
    return {"TenMegabytes", bytes + last + "\r\n" + kReadableTail, Obstacle::None, "7", {"[填充]", "k0=" + filler, last}};
}

BadFileCase LongValues() {
    const std::string foreign = "长值=" + std::string(20000, 'v');
    return {"TwentyThousandByteValues",
            "[其他]\r\n" + foreign + "\r\n" + kReminderSection + "\r\n秒=" + std::string(20000, '9') + "\r\n",
            Obstacle::None, nullptr, {"[其他]", foreign}};
}

BadFileCase NulBytes() {
    const std::string bytes = std::string("[其他]\r\nbefore-nul=kept\r\n名=a") + '\0' + "b\r\n" + '\0' + '\0' +
                              "\r\nafter-nul=kept\r\n" + kReadableTail;
    return {"NulBytesInside", bytes, Obstacle::None, "7", {"[其他]", "before-nul=kept", "after-nul=kept"}};
}

const std::vector<std::string> kForeignLines = {"; 用户的注释", "[其他程序]", "颜色=蓝", "[关机列表]",
                                                 "自定义=1"};

std::string ForeignSettings() {
    std::string bytes;
    for (const std::string& line : kForeignLines) bytes += line + "\r\n";
    return bytes + kReadableTail;
}

std::vector<BadFileCase> AllCases() {
    return {BinaryGarbage(),
            Huge(),
            LongValues(),
            NulBytes(),
            {"ForeignSectionsKeysAndComments", ForeignSettings(), Obstacle::None, "7", kForeignLines},
            {"ReadOnly", ForeignSettings(), Obstacle::ReadOnly, "7", kForeignLines},
            {"LockedByAnotherProcess", ForeignSettings(), Obstacle::LockedByAnotherProcess, "30", kForeignLines},
            {"Directory", "", Obstacle::Directory, "30", {}}};
}

void PrintTo(const BadFileCase& bad, std::ostream* out) { *out << bad.name; }

std::string SavedReminder(const std::string& path) {
    char value[64] = {};
    GetPrivateProfileStringA("提醒时间", "秒", "", value, sizeof value, path.c_str());
    return value;
}

bool ContainsLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class BadSettingsFileTest : public BlackBoxTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadSettingsFileTest, ProgramStartsSurvivesASaveAndKeepsWhatIsNotItsOwn) {
    const BadFileCase& bad = GetParam();
    TempDirectory directory;
    const std::string settings = directory.File(kSettingsName);
    if (bad.obstacle == Obstacle::Directory) {
        ASSERT_TRUE(CreateDirectoryA(settings.c_str(), nullptr));
    } else {
        ASSERT_TRUE(WriteFileBytes(settings, bad.bytes));
    }
    if (bad.obstacle == Obstacle::ReadOnly) {
        ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    const bool locked = bad.obstacle == Obstacle::LockedByAnotherProcess;
    // Shared with nobody, as another program would hold it while writing.
    ScopedFileHandle lock(locked ? CreateFileA(settings.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                 : INVALID_HANDLE_VALUE);
    ASSERT_TRUE(lock.Valid() || !locked) << "cannot hold close.ini: error " << GetLastError();

    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    if (bad.reminderAtStart) {
        EXPECT_EQ(WindowText(main.reminder), bad.reminderAtStart);
    }

    ASSERT_NO_FATAL_FAILURE(Tick(main.days[2]));
    SetText(main.reminder, kSavedReminder);
    Click(main.save);
    const bool mustFail = locked || bad.obstacle == Obstacle::Directory;
    if (mustFail || bad.obstacle == Obstacle::ReadOnly) {
        Sleep(kFailedSaveGraceMs);
    } else {
        EXPECT_TRUE(WaitUntil([&] { return SavedReminder(settings) == kSavedReminder; }, kSaveWaitMs))
            << "the saved reminder reads back as '" << SavedReminder(settings) << "'";
    }
    EXPECT_TRUE(program->Running()) << "the program ended after 保存设置";
    EXPECT_EQ(program->WaitForDialog(0), nullptr) << "保存设置 showed a message";
    lock.Close();

    if (bad.obstacle == Obstacle::Directory) {
        const DWORD attributes = GetFileAttributesA(settings.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            << "close.ini is no longer the directory it was";
        return;
    }
    const std::string after = ReadFileBytes(settings);
    if (mustFail) {
        EXPECT_EQ(after, bad.bytes) << "a file held by another process was changed";
        return;
    }
    if (bad.obstacle == Obstacle::ReadOnly) {
        // Wine keeps the read-only bit as Unix write bits, which do not stop root.
        RecordProperty("read_only_file_written", after == bad.bytes ? "no" : "yes");
        EXPECT_TRUE(after == bad.bytes || SavedReminder(settings) == kSavedReminder)
            << "a read-only file is either left alone or fully saved";
    }
    const std::vector<std::string> lines = NonBlankLines(settings);
    for (const std::string& line : bad.foreignLines)
        EXPECT_TRUE(ContainsLine(lines, line)) << "lost a line that is not the program's: " << line.substr(0, 80);
    EXPECT_GE(after.size(), bad.bytes.size() / 2) << "the file was cut down to little more than the program's keys";
}

INSTANTIATE_TEST_SUITE_P(Cases, BadSettingsFileTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<BadFileCase>& info) { return std::string(info.param.name); });


// Two copies beside each other on one close.ini, without any guard against a second
// start: whichever saved last is what the file holds, each section and key once.
struct CopyValues {
    const char* exeName;
    int day;  // 1 = 星期一 ... 7 = 星期日
    int action;
    const char* hour;
    const char* minute;
    const char* second;
    const char* reminder;
};

const CopyValues kCopies[2] = {{"velmora.exe", 1, 1, "1", "2", "3", "11"},
                               {"velmora-second.exe", 2, 2, "4", "5", "6", "22"}};

std::vector<std::string> SavedLines(const CopyValues& copy) {
    std::vector<std::string> lines = {"[关机列表]"};
    for (int day = 1; day <= 7; ++day) lines.push_back(std::string(kDayNames[day - 1]) + "=" + (day == copy.day ? "Y" : "N"));
    for (const std::string& line :
         {std::string("[关机操作]"), "关机方式=" + std::to_string(copy.action), std::string("[关机时间]"),
          std::string("小时=") + copy.hour, std::string("分钟=") + copy.minute, std::string("秒=") + copy.second,
          std::string(kReminderSection), std::string("秒=") + copy.reminder})
        lines.push_back(line);
    return lines;
}

using TwoCopiesTest = BlackBoxTest;

TEST_F(TwoCopiesTest, BothStartAndTheFileHoldsTheLastSaveOnceOver) {
    TempDirectory directory;
    const std::string settings = directory.File(kSettingsName);
    std::unique_ptr<RunningProgram> programs[2];
    MainControls mains[2];
    for (int copy = 0; copy < 2; ++copy) {
        ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), kCopies[copy].exeName, programs[copy], mains[copy]));
        const MainControls& main = mains[copy];
        ASSERT_NO_FATAL_FAILURE(Tick(main.days[kCopies[copy].day - 1]));
        ASSERT_NO_FATAL_FAILURE(Tick(main.actions[kCopies[copy].action - 1]));
        SetText(main.hour, kCopies[copy].hour);
        SetText(main.minute, kCopies[copy].minute);
        SetText(main.second, kCopies[copy].second);
        SetText(main.reminder, kCopies[copy].reminder);
    }
    ASSERT_NE(programs[0]->Id(), programs[1]->Id());

    // First, second, first again: each save replaces every value of the one before.
    for (int copy : {0, 1, 0}) {
        Click(mains[copy].save);
        const std::vector<std::string> expected = SavedLines(kCopies[copy]);
        WaitUntil([&] { return NonBlankLines(settings) == expected; });
        EXPECT_EQ(NonBlankLines(settings), expected) << "after the save of " << kCopies[copy].exeName;
    }
    EXPECT_TRUE(programs[0]->Running());
    EXPECT_TRUE(programs[1]->Running());
}

}  // namespace
}  // namespace blackbox
