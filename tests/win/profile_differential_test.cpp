// The same reads and writes, on the same starting files, through our own profile reader
// and writer and through GetPrivateProfileStringA / WritePrivateProfileStringA, must give
// the same results and byte-identical files.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ini_file.h"
#include "win_profile_store.h"

namespace {

struct Operation {
    bool write;
    std::string section, key, value;  // value is the default for a read
};

Operation Read(std::string section, std::string key, std::string defaultText = "") {
    return {false, std::move(section), std::move(key), std::move(defaultText)};
}
Operation Write(std::string section, std::string key, std::string value) {
    return {true, std::move(section), std::move(key), std::move(value)};
}

struct DifferentialCase {
    const char* name;
    bool fileExists;
    std::string startingBytes;
    std::vector<Operation> operations;
};

std::string LongValue(size_t length) {
    std::string value;
    for (size_t i = 0; i < length; ++i) value += static_cast<char>('a' + i % 26);
    return value;
}

std::vector<DifferentialCase> Cases() {
    const std::string big = LongValue(12000);
    return {
        {"first save into a missing file", false, "",
         {Write("关机列表", "星期一", "Y"), Write("关机列表", "星期二", "N"),
          Write("关机操作", "关机方式", "1"), Write("关机时间", "小时", "22"),
          Write("提醒时间", "秒", ""), Read("提醒时间", "秒", "30"),
          Read("关机时间", "小时", "00"), Read("关机时间", "分钟", "00")}},
        {"blanks around the equals sign", true, "[s]\r\n  key  =  value  \r\nother= x\r\n",
         {Read("s", "key"), Read("s", "other"), Write("s", "key", "new"), Read("s", "key")}},
        {"quoted values", true,
         "[q]\r\nd=\"double\"\r\ns='single'\r\nm=\"mixed'\r\ne=\"\"\r\nh=\"half\r\n",
         {Read("q", "d"), Read("q", "s"), Read("q", "m"), Read("q", "e", "30"), Read("q", "h"),
          Write("q", "d", "plain")}},
        {"section and key case", true, "[SeCtIoN]\r\nKeY=v1\r\n",
         {Read("section", "key"), Read("SECTION", "KEY"), Write("section", "KEY", "v2"),
          Write("SECTION", "newkey", "v3")}},
        {"duplicate sections and keys", true, "[a]\r\nk=1\r\nk=2\r\n[b]\r\nx=0\r\n[a]\r\nk=3\r\nj=4\r\n",
         {Read("a", "k"), Read("a", "j"), Write("a", "k", "9"), Write("a", "j", "8"), Read("a", "k")}},
        {"LF line ends and no final newline", true, "[s]\nk=1\n\n[t]\nm=2",
         {Read("t", "m"), Write("t", "m", "3"), Write("t", "n", "4"), Write("u", "z", "5")}},
        {"comment lines", true, "; settings\r\n[s]\r\n;k=commented\r\nk=1\r\n# hash\r\n",
         {Read("s", "k"), Read("s", ";k"), Write("s", "k", "2")}},
        {"code page 936 values", true, "[关机列表]\r\n星期一=Y\r\n星期二 = Y \r\n星期三=y\r\n",
         {Read("关机列表", "星期一", "N"), Read("关机列表", "星期二", "N"), Read("关机列表", "星期三", "N"),
          Read("关机列表", "星期四", "N"), Write("关机列表", "星期三", "Y"), Write("关机列表", "星期日", "N")}},
        {"a 12000-byte value", true, "[big]\r\nv=" + big + "\r\n",
         {Read("big", "v"), Write("big", "w", big), Read("big", "w")}},
        {"existing empty value and defaults", true, "[s]\r\nempty=\r\n",
         {Read("s", "empty", "30"), Read("s", "missing", "30  "), Read("nosection", "k", "00"),
          Write("s", "empty", ""), Write("s", "added", "")}},
        {"unchanged value", true, "[s]\r\n k = v \r\n\r\n",
         {Write("s", "k", "v"), Read("s", "k")}},
    };
}

class TempDirectory {
public:
    explicit TempDirectory(const char* tag) {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "velmora-diff-" + tag + "-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempDirectory() {
        DeleteFileA(File().c_str());
        RemoveDirectoryA(path_.c_str());
    }
    std::string File() const { return path_ + "\\close.ini"; }

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Outcome {
    std::vector<std::string> results;
    std::string fileBytes;
};

Outcome RunCase(ProfileStore& store, const DifferentialCase& c, const char* tag) {
    TempDirectory directory(tag);
    const std::string path = directory.File();
    if (c.fileExists) {
        std::ofstream(path, std::ios::binary) << c.startingBytes;
    }
    Outcome outcome;
    for (const Operation& op : c.operations) {
        if (op.write) {
            outcome.results.push_back(store.PutString(path, op.section, op.key, op.value) ? "ok" : "failed");
        } else {
            outcome.results.push_back(store.GetString(path, op.section, op.key, op.value));
        }
    }
    outcome.fileBytes = ReadBytes(path);
    return outcome;
}

TEST(ProfileDifferential, OurStoreMatchesTheWindowsFunctions) {
    IniFileStore ours;
    WinProfileStore windows;
    for (const DifferentialCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const Outcome expected = RunCase(windows, c, "win");
        const Outcome actual = RunCase(ours, c, "ours");
        ASSERT_EQ(expected.results.size(), actual.results.size());
        for (size_t i = 0; i < expected.results.size(); ++i) {
            EXPECT_EQ(expected.results[i], actual.results[i]) << "operation " << i;
        }
        EXPECT_EQ(expected.fileBytes, actual.fileBytes);
    }
}

// The Windows reader reports the cut length even when the cut falls inside a double-byte
// character and leaves a zero byte: the text must still hold no zero byte.
TEST(ProfileDifferential, WindowsStoreNeverReturnsAZeroByte) {
    TempDirectory directory("zero");
    std::string value;
    while (value.size() < kProfileBufferSize + 10) value += "星";
    std::ofstream(directory.File(), std::ios::binary) << "[s]\r\nv=" << value << "\r\n";
    WinProfileStore windows;
    const Text read = windows.GetString(directory.File(), "s", "v", "");
    EXPECT_EQ(read.find('\0'), Text::npos);
    EXPECT_LE(read.size(), kProfileValueLimit);
    EXPECT_EQ(read, value.substr(0, read.size()));
}

TEST(WindowsCodePage, AnsiCodePageIs936AndTextsAreGbk) {
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(std::string("信息："), std::string("\xd0\xc5\xcf\xa2\xa3\xba"));
}

}  // namespace
