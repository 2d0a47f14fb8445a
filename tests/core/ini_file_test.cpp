#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ini_file.h"
#include "profile.h"
#include "temp_dir.h"

namespace {

const std::string kLong12000(12000, 'x');
const std::string kLongGbk12000 = [] {
    std::string text;
    while (text.size() < 12000) text += "表";
    return text;
}();

struct ReadCase {
    const char* name;
    std::string file;
    std::string section, key, defaultText;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class IniReadTest : public testing::TestWithParam<ReadCase> {
protected:
    TempDirectory dir;
    IniFileStore store;
};

TEST_P(IniReadTest, ReadsLikeThePrivateProfileReader) {
    const ReadCase& c = GetParam();
    dir.WriteFile("t.ini", c.file);
    EXPECT_EQ(store.GetString(dir.PathOf("t.ini"), c.section, c.key, c.defaultText), c.expected)
        << c.name;
    EXPECT_EQ(dir.ReadFile("t.ini"), c.file) << "reading changed the file";
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniReadTest,
    testing::Values(
        ReadCase{"plain", "[s]\r\nk=v\r\n", "s", "k", "D", "v"},
        ReadCase{"section and key ignore ASCII case", "[Section]\r\nKey=v\r\n", "sECTION", "kEY", "D", "v"},
        ReadCase{"blanks around the equals sign and value", "[s]\r\n  k  =   v w  \r\n", "s", "k", "D", "v w"},
        ReadCase{"tabs around the value", "[s]\r\nk=\tv\t\r\n", "s", "k", "D", "v"},
        ReadCase{"blanks around the queried names", "[s]\r\nmy key=v\r\n", " s ", " my key\t", "D", "v"},
        ReadCase{"double quotes removed", "[s]\r\nk=\"quoted value\"\r\n", "s", "k", "D", "quoted value"},
        ReadCase{"single quotes removed", "[s]\r\nk='x'\r\n", "s", "k", "D", "x"},
        ReadCase{"blanks inside quotes kept", "[s]\r\nk=\" x \"\r\n", "s", "k", "D", " x "},
        ReadCase{"only one pair removed", "[s]\r\nk=\"\"x\"\"\r\n", "s", "k", "D", "\"x\""},
        ReadCase{"mismatched quotes kept", "[s]\r\nk=\"x'\r\n", "s", "k", "D", "\"x'"},
        ReadCase{"opening quote alone kept", "[s]\r\nk=\"abc\r\n", "s", "k", "D", "\"abc"},
        ReadCase{"a single quote character kept", "[s]\r\nk=\"\r\n", "s", "k", "D", "\""},
        ReadCase{"two quotes give empty", "[s]\r\nk=\"\"\r\n", "s", "k", "D", ""},
        ReadCase{"equals sign inside the value", "[s]\r\nk=a=b\r\n", "s", "k", "D", "a=b"},
        ReadCase{"existing empty value is empty, not the default", "[s]\r\nk=\r\n", "s", "k", "D", ""},
        ReadCase{"missing key gives the default", "[s]\r\nj=v\r\n", "s", "k", "D", "D"},
        ReadCase{"missing section gives the default", "[t]\r\nk=v\r\n", "s", "k", "D", "D"},
        ReadCase{"key without equals sign gives the default", "[s]\r\nk\r\n", "s", "k", "D", "D"},
        ReadCase{"default loses its trailing blanks", "", "s", "k", "30  ", "30"},
        ReadCase{"default keeps its leading blanks", "", "s", "k", "  30", "  30"},
        ReadCase{"no default gives empty", "[s]\r\n", "s", "k", "", ""},
        ReadCase{"first of duplicate keys wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "D", "1"},
        ReadCase{"first of duplicate sections wins", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "D", "1"},
        ReadCase{"later duplicate sections are not searched", "[s]\r\nk=1\r\n[s]\r\nj=2\r\n", "s", "j", "D", "D"},
        ReadCase{"LF line ends", "[s]\nk=v\nj=w\n", "s", "j", "D", "w"},
        ReadCase{"CR line ends", "[s]\rk=v\rj=w\r", "s", "j", "D", "w"},
        ReadCase{"no final line end", "[s]\r\nk=v", "s", "k", "D", "v"},
        ReadCase{"blank lines between", "\r\n\r\n[s]\r\n\r\n\r\nk=v\r\n\r\n", "s", "k", "D", "v"},
        ReadCase{"comment lines are not the key", "[s]\r\n;k=c\r\nk=v\r\n", "s", "k", "D", "v"},
        ReadCase{"blanks before the bracket", "  \t[s]\r\nk=v\r\n", "s", "k", "D", "v"},
        ReadCase{"blanks inside the brackets", "[ s ]\r\nk=v\r\n", "s", "k", "D", "v"},
        ReadCase{"text after the closing bracket", "[s] ; note\r\nk=v\r\n", "s", "k", "D", "v"},
        ReadCase{"keys before any section belong to none", "k=v\r\n[s]\r\n", "s", "k", "D", "D"},
        ReadCase{"GBK names and value", "[关机列表]\r\n星期一=Y\r\n", "关机列表", "星期一", "N", "Y"},
        ReadCase{"GBK names are exact: another weekday", "[关机列表]\r\n星期一=Y\r\n", "关机列表", "星期二", "N", "N"},
        ReadCase{"GBK value kept byte for byte", "[提醒时间]\r\n秒=10秒\r\n", "提醒时间", "秒", "30", "10秒"},
        ReadCase{"trail byte 0x41 is not folded to 0x61", "[s]\r\n\x81\x41=upper\r\n", "s", "\x81\x61", "D", "D"},
        ReadCase{"trail byte 0x41 matches itself", "[s]\r\n\x81\x41=upper\r\n", "s", "\x81\x41", "D", "upper"},
        ReadCase{"trail byte 0x5D after the bracket is no bracket", "[s]\x81\x5D\r\nk=v\r\n", "s", "k", "D", "v"},
        ReadCase{"trail byte 0x5D does not close a header", "[s\x81\x5D\r\nk=v\r\n", "s\x81", "k", "D", "D"},
        ReadCase{"a 12000-byte value is cut to 10239 bytes", "[s]\r\nk=" + kLong12000 + "\r\n", "s", "k", "D",
                 kLong12000.substr(0, 10239)},
        ReadCase{"a long quoted value keeps its cut", "[s]\r\nk=\"" + kLong12000 + "\"\r\n", "s", "k", "D",
                 kLong12000.substr(0, 10239)},
        ReadCase{"a long GBK value is cut at a whole character", "[s]\r\nk=" + kLongGbk12000 + "\r\n", "s", "k",
                 "D", kLongGbk12000.substr(0, 10238)},
        ReadCase{"a value of exactly 10239 bytes is whole", "[s]\r\nk=" + kLong12000.substr(0, 10239), "s", "k",
                 "D", kLong12000.substr(0, 10239)}),
    [](const testing::TestParamInfo<ReadCase>& info) { return "Case" + std::to_string(info.index); });

TEST(IniReadFailureTest, MissingOrUnreadableFileGivesTheDefault) {
    TempDirectory dir;
    IniFileStore store;
    EXPECT_EQ(store.GetString(dir.PathOf("none.ini"), "s", "k", "30 "), "30");
    EXPECT_EQ(store.GetString(dir.PathOf("none.ini"), "s", "k", ""), "");
    EXPECT_EQ(store.GetString(dir.PathOf("no-such-dir/none.ini"), "s", "k", "D"), "D");
    EXPECT_EQ(store.GetString(dir.Directory(), "s", "k", "D"), "D");
    EXPECT_FALSE(dir.Exists("none.ini"));
}

struct WriteCase {
    const char* name;
    std::string before;
    std::string section, key, value;
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }

class IniWriteTest : public testing::TestWithParam<WriteCase> {
protected:
    TempDirectory dir;
    IniFileStore store;
};

TEST_P(IniWriteTest, WritesLikeThePrivateProfileWriter) {
    const WriteCase& c = GetParam();
    dir.WriteFile("t.ini", c.before);
    EXPECT_TRUE(store.PutString(dir.PathOf("t.ini"), c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(dir.ReadFile("t.ini"), c.after) << c.name;
}

const std::string kTwoSections = "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n";

INSTANTIATE_TEST_SUITE_P(
    Ini, IniWriteTest,
    testing::Values(
        WriteCase{"existing key updated in place", kTwoSections, "a", "x", "9",
                  "[a]\r\nx=9\r\ny=2\r\n[b]\r\nz=3\r\n"},
        WriteCase{"missing key added at the end of its section", kTwoSections, "a", "w", "4",
                  "[a]\r\nx=1\r\ny=2\r\nw=4\r\n[b]\r\nz=3\r\n"},
        WriteCase{"missing section appended", kTwoSections, "c", "q", "5", kTwoSections + "[c]\r\nq=5\r\n"},
        WriteCase{"empty value written as key=", kTwoSections, "b", "z", "",
                  "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=\r\n"},
        WriteCase{"empty file", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
        WriteCase{"names matched without regard to case keep the file's spelling", "[Sec]\r\nKey=1\r\n",
                  "sec", "KEY", "2", "[Sec]\r\nKey=2\r\n"},
        WriteCase{"first of duplicate sections and keys updated", "[s]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n", "s",
                  "k", "9", "[s]\r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n"},
        WriteCase{"missing key goes to the first duplicate section", "[s]\r\nk=1\r\n[s]\r\nj=2\r\n", "s",
                  "j", "9", "[s]\r\nk=1\r\nj=9\r\n[s]\r\nj=2\r\n"},
        WriteCase{"LF file stored again with CRLF", "[s]\nk=1\nj=2", "s", "k", "3", "[s]\r\nk=3\r\nj=2\r\n"},
        WriteCase{"no final line end", "[s]\r\nk=1", "s", "j", "2", "[s]\r\nk=1\r\nj=2\r\n"},
        WriteCase{"new section after a file without final line end", "[s]\r\nk=1", "t", "j", "2",
                  "[s]\r\nk=1\r\n[t]\r\nj=2\r\n"},
        WriteCase{"blank lines and blanks around equals signs normalised, comments kept",
                  "; head\r\n\r\n[s]\r\n; note\r\n  k = 1 \r\n\r\n[t]\r\nx = y\r\n", "s", "k", "2",
                  "; head\r\n[s]\r\n; note\r\nk=2\r\n[t]\r\nx=y\r\n"},
        WriteCase{"new key goes after the section's trailing comment", "[s]\r\nk=1\r\n; end of s\r\n\r\n[t]\r\n",
                  "s", "j", "2", "[s]\r\nk=1\r\n; end of s\r\nj=2\r\n[t]\r\n"},
        WriteCase{"quotes stored as given", "[s]\r\nk=1\r\n", "s", "k", "\"q\"", "[s]\r\nk=\"q\"\r\n"},
        WriteCase{"leading blanks of the value dropped", "", "s", "k", " \tv ", "[s]\r\nk=v \r\n"},
        WriteCase{"line without equals sign gets the value in place", "[s]\r\nk\r\nj=1\r\n", "s", "k", "2",
                  "[s]\r\nk=2\r\nj=1\r\n"},
        WriteCase{"lines before the first section kept", "top=1\r\n[s]\r\nk=1\r\n", "s", "k", "2",
                  "top=1\r\n[s]\r\nk=2\r\n"},
        WriteCase{"a section with an empty name keeps its header", "[a]\r\nx=1\r\n[]\r\ny=2\r\n", "a", "x", "3",
                  "[a]\r\nx=3\r\n[]\r\ny=2\r\n"},
        WriteCase{"lines with an empty key name all kept", "[s]\r\n=a\r\n=b\r\n", "s", "k", "1",
                  "[s]\r\n=a\r\n=b\r\nk=1\r\n"},
        WriteCase{"bytes that are not valid GBK never altered", "[s]\r\nk=1\r\njunk=\xFF\x80\xFE\r\n", "s", "k",
                  "2", "[s]\r\nk=2\r\njunk=\xFF\x80\xFE\r\n"},
        WriteCase{"GBK names and values byte for byte", "[关机列表]\r\n星期一=N\r\n", "关机列表", "星期一", "Y",
                  "[关机列表]\r\n星期一=Y\r\n"},
        WriteCase{"GBK key with trail byte 0x41 is not the one with 0x61", "[s]\r\n\x81\x41=1\r\n", "s",
                  "\x81\x61", "2", "[s]\r\n\x81\x41=1\r\n\x81\x61=2\r\n"},
        WriteCase{"a section name ending in a lone lead byte keeps the blank before its bracket",
                  "[a]\r\nx=1\r\n[s\xBC ]\r\nk=Y\r\n", "a", "x", "2", "[a]\r\nx=2\r\n[s\xBC ]\r\nk=Y\r\n"},
        WriteCase{"a 12000-byte value is written whole", "", "s", "k", kLong12000,
                  "[s]\r\nk=" + kLong12000 + "\r\n"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return "Case" + std::to_string(info.index); });

class IniFileStoreTest : public testing::Test {
protected:
    TempDirectory dir;
    IniFileStore store;
};

TEST_F(IniFileStoreTest, CreatesAMissingFileWithCrlfLines) {
    const std::string path = dir.PathOf("close.ini");
    ASSERT_TRUE(store.PutString(path, "关机列表", "星期一", "Y"));
    ASSERT_TRUE(store.PutString(path, "关机列表", "星期二", "N"));
    ASSERT_TRUE(store.PutString(path, "提醒时间", "秒", "10秒"));
    EXPECT_EQ(dir.ReadFile("close.ini"), "[关机列表]\r\n星期一=Y\r\n星期二=N\r\n[提醒时间]\r\n秒=10秒\r\n");
    EXPECT_EQ(store.GetString(path, "关机列表", "星期一", "N"), "Y");
    EXPECT_EQ(store.GetString(path, "提醒时间", "秒", "30"), "10秒");
}

TEST_F(IniFileStoreTest, AnUnchangedValueLeavesAnOddFileUntouched) {
    const std::string odd = "[s]\n  k =  v \n\n;c\n[t]";
    dir.WriteFile("t.ini", odd);
    EXPECT_TRUE(store.PutString(dir.PathOf("t.ini"), "S", "K", "v"));
    EXPECT_EQ(dir.ReadFile("t.ini"), odd);
}

TEST_F(IniFileStoreTest, ALongValueIsReadBackCut) {
    const std::string path = dir.PathOf("t.ini");
    ASSERT_TRUE(store.PutString(path, "s", "k", kLong12000));
    EXPECT_EQ(store.GetString(path, "s", "k", ""), kLong12000.substr(0, kProfileValueLimit));
}

TEST_F(IniFileStoreTest, FailsWithoutCreatingDirectories) {
    EXPECT_FALSE(store.PutString(dir.PathOf("missing/close.ini"), "s", "k", "v"));
    EXPECT_FALSE(dir.Exists("missing"));
    EXPECT_FALSE(store.PutString(dir.Directory(), "s", "k", "v"));
}

// Records what reaches the store, to show what the wrappers pass on and when they stop.
class CallRecordingStore final : public ProfileStore {
public:
    Text GetString(const Text& path, const Text& section, const Text& key,
                   const Text& defaultText) override {
        calls.push_back("get|" + path + "|" + section + "|" + key + "|" + defaultText);
        return "stored";
    }
    bool PutString(const Text& path, const Text& section, const Text& key,
                   const Text& value) override {
        calls.push_back("put|" + path + "|" + section + "|" + key + "|" + value);
        return true;
    }
    std::vector<std::string> calls;
};

TEST(ProfileTextTest, SkipsLeadingBlanksAndControlsBeforeTheStore) {
    CallRecordingStore store;
    EXPECT_EQ(ReadProfileText(store, " \t/x/close.ini", "\x01 关机时间", "  小时", " 00 "), "stored");
    EXPECT_TRUE(WriteProfileText(store, "\r\n/x/close.ini", " 提醒时间", "\x1F秒", " 10 "));
    const std::vector<std::string> expected = {"get|/x/close.ini|关机时间|小时| 00 ",
                                               "put|/x/close.ini|提醒时间|秒| 10 "};
    EXPECT_EQ(store.calls, expected);
}

TEST(ProfileTextTest, AnEmptyNameReadsNothingAndWritesNothing) {
    const struct {
        const char *path, *section, *key;
    } cases[] = {{"", "s", "k"}, {" \t", "s", "k"}, {"p", "", "k"}, {"p", "  ", "k"},
                 {"p", "s", ""}, {"p", "s", "\x01\x20"}};
    for (const auto& c : cases) {
        CallRecordingStore store;
        EXPECT_EQ(ReadProfileText(store, c.path, c.section, c.key, "default"), "");
        EXPECT_FALSE(WriteProfileText(store, c.path, c.section, c.key, "value"));
        EXPECT_TRUE(store.calls.empty()) << c.path << '|' << c.section << '|' << c.key;
    }
}

TEST(ProfileTextTest, ThroughTheFileStoreAnEmptyDefaultMeansNone) {
    TempDirectory dir;
    IniFileStore store;
    EXPECT_EQ(ReadProfileText(store, dir.PathOf("close.ini"), "关机操作", "关机方式", ""), "");
    EXPECT_EQ(ReadProfileText(store, dir.PathOf("close.ini"), "提醒时间", "秒", "30"), "30");
}

}  // namespace
