#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>

#include "settings/ini_file.h"
#include "support/process_tools.h"

namespace {

using namespace testing_support;

class IniFileTest : public ::testing::Test {
protected:
    std::string iniPath() const { return temp.file("test.ini"); }
    void givenFile(const std::string& text) { ASSERT_TRUE(writeFile(iniPath(), text)); }
    std::string onDisk() const { return readFile(iniPath()); }

    TempDirectory temp;
};

TEST_F(IniFileTest, IntegersInAndOutOfRangeAndBooleans)
{
    givenFile("[W]\r\nzero=0\r\none=1\r\ntwo=2\r\neight=8\r\nnine=9\r\nminus=-1\r\nbig=-123456\r\n");
    const IniFile ini(iniPath().c_str(), true);
    // Key, then what getIntInRange(7, 0..8), getInt(5) and getBool(false) read there.
    for (const auto& [key, inRange, plain, flag] :
        {std::tuple{"zero", 0, 0, false}, {"eight", 8, 8, true}, {"nine", 7, 9, true}, {"minus", 7, -1, true},
            {"big", 7, -123456, true}, {"one", 1, 1, true}, {"two", 2, 2, true}, {"missing", 7, 5, false}}) {
        EXPECT_EQ(inRange, ini.getIntInRange("W", key, 7, 0, 8)) << key;
        EXPECT_EQ(plain, ini.getInt("W", key, 5)) << key;
        EXPECT_EQ(flag, ini.getBool("W", key, false)) << key;
    }
    EXPECT_EQ(7, ini.getIntInRange("Missing", "zero", 7, 0, 8));
    // A default outside the range comes back unchanged.
    EXPECT_EQ(42, ini.getIntInRange("W", "nine", 42, 0, 8));
    EXPECT_FALSE(ini.getBool("W", "zero", true));
    EXPECT_TRUE(ini.getBool("W", "missing", true));
}

TEST_F(IniFileTest, MissingFileOrEmptyPathGivesDefaultsAndCreatesNothing)
{
    const IniFile missing(temp.file("absent.ini").c_str(), true);
    const IniFile none("", true);
    EXPECT_EQ(L"", none.path());
    for (const IniFile* ini : {&missing, &none}) {
        EXPECT_EQ(4, ini->getInt("S", "K", 4));
        EXPECT_EQ(4, ini->getIntInRange("S", "K", 4, 0, 1));
        EXPECT_TRUE(ini->getBool("S", "K", true));
    }
    EXPECT_EQ("fallback", missing.getString("S", "K", "fallback"));
    EXPECT_EQ("", none.getString("S", "K", "default"));
    EXPECT_FALSE(none.putString("S", "K", "x"));
    EXPECT_FALSE(fileExists(temp.file("absent.ini")));
}

TEST_F(IniFileTest, Strings)
{
    const std::string longValue(1500, 'x');
    const std::string japanese = "表ソ能.bmp";
    givenFile("[S]\r\nempty=\r\nlong=" + longValue + "\r\nname=" + japanese + "\r\n");
    const IniFile ini(iniPath().c_str(), true);
    // Present but empty is not missing.
    EXPECT_EQ("", ini.getString("S", "empty", "default"));
    EXPECT_EQ("default", ini.getString("S", "missing", "default"));
    EXPECT_EQ(std::string(1023, 'x'), ini.getString("S", "long", ""));
    EXPECT_EQ(japanese, ini.getString("S", "name", ""));

    char buffer[8];
    ini.getStringToBuffer("S", "name", buffer, sizeof buffer, "");
    EXPECT_EQ(7u, std::string(buffer).size());
}

TEST_F(IniFileTest, WritesNumbersAndText)
{
    const IniFile ini(iniPath().c_str(), true);
    ini.putInt("S", "minus", -1);
    ini.putInt("S", "thousand", 1000);
    ini.putInt("S", "zero", 0);
    ini.putBool("S", "yes", true);
    ini.putBool("S", "no", false);
    EXPECT_TRUE(ini.putString("S", "empty", ""));
    EXPECT_TRUE(ini.putString("S", "name", "表.bmp"));
    const std::string text = onDisk();
    for (const char* line : {"minus=-1\r\n", "thousand=1000\r\n", "zero=0\r\n", "yes=1\r\n", "no=0\r\n",
             "empty=\r\n", "name=表.bmp\r\n"})
        EXPECT_NE(std::string::npos, text.find(line)) << line << " in\n" << text;
    EXPECT_EQ(-1, ini.getInt("S", "minus", 0));
    EXPECT_EQ(1000, ini.getInt("S", "thousand", 0));
    EXPECT_EQ("", ini.getString("S", "empty", "default"));
    EXPECT_EQ("表.bmp", ini.getString("S", "name", ""));
}

TEST_F(IniFileTest, FailedWritesChangeNothing)
{
    const std::string original = "; kept\r\n[S]\r\nK=1\r\n";
    givenFile(original);
    ASSERT_TRUE(SetFileAttributesA(iniPath().c_str(), FILE_ATTRIBUTE_READONLY));
    const IniFile readOnly(iniPath().c_str(), true);
    EXPECT_FALSE(readOnly.putString("S", "K", "2"));
    readOnly.putInt("S", "New", 5);
    EXPECT_EQ(original, onDisk());

    const std::string missingDirectory = temp.file("missing");
    const IniFile nowhere((missingDirectory + "\\x.ini").c_str(), true);
    EXPECT_FALSE(nowhere.putString("S", "K", "2"));
    nowhere.putBool("S", "B", true);
    EXPECT_FALSE(directoryExists(missingDirectory));
    EXPECT_EQ(std::vector<std::string>{"test.ini"}, directoryEntries(temp.path()));
}

// A link to the target, made as Unix makes it: Wine makes none through CreateSymbolicLinkW and shows
// none as a link (no reparse point), but follows a Unix one wherever a file is opened.
bool unixLink(const std::string& target, const std::string& link)
{
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* from = unixName ? unixName(widePath(target).c_str()) : nullptr;
    char* to = unixName ? unixName(widePath(link).c_str()) : nullptr;
    ChildProcess command;
    const bool started
        = from && to && command.start("/bin/ln", std::string("-s \"") + from + "\" \"" + to + "\"");
    HeapFree(GetProcessHeap(), 0, from);
    HeapFree(GetProcessHeap(), 0, to);
    return started && pumpUntil([&] { return fileExists(link); }, 10000);
}

TEST_F(IniFileTest, AMarkedFileThatIsALinkIsRewrittenThroughIt)
{
    const std::string target = temp.file("target.ini");
    ASSERT_TRUE(writeFile(target, "\xEF\xBB\xBF[S]\r\nK=\xE7\x94\xBB\r\n"));
    ASSERT_TRUE(unixLink(target, iniPath()));
    IniFile(iniPath().c_str(), true).dropUtf8Mark();
    EXPECT_EQ(readFile(target), "[S]\r\nK=\x89\xE6\r\n");
    ASSERT_TRUE(writeFile(target, "[S]\r\nK=2\r\n"));
    EXPECT_EQ(onDisk(), "[S]\r\nK=2\r\n") << "no longer a link";
    EXPECT_EQ(directoryEntries(temp.path()), (std::vector<std::string>{"target.ini", "test.ini"}));
}

} // namespace
