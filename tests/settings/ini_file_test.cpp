#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/module_directory.h"
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

TEST_F(IniFileTest, IntegersInAndOutOfRange)
{
    givenFile("[W]\r\nzero=0\r\neight=8\r\nnine=9\r\nminus=-1\r\nbig=-123456\r\n");
    const IniFile ini(iniPath().c_str(), true);
    EXPECT_EQ(0, ini.getIntInRange("W", "zero", 7, 0, 8));
    EXPECT_EQ(8, ini.getIntInRange("W", "eight", 7, 0, 8));
    EXPECT_EQ(7, ini.getIntInRange("W", "nine", 7, 0, 8));
    EXPECT_EQ(7, ini.getIntInRange("W", "minus", 7, 0, 8));
    EXPECT_EQ(7, ini.getIntInRange("W", "missing", 7, 0, 8));
    EXPECT_EQ(7, ini.getIntInRange("Missing", "zero", 7, 0, 8));
    // A default outside the range comes back unchanged.
    EXPECT_EQ(42, ini.getIntInRange("W", "nine", 42, 0, 8));
    EXPECT_EQ(-1, ini.getInt("W", "minus", 5));
    EXPECT_EQ(-123456, ini.getInt("W", "big", 5));
    EXPECT_EQ(5, ini.getInt("W", "missing", 5));
}

TEST_F(IniFileTest, Booleans)
{
    givenFile("[B]\r\ntwo=2\r\nminus=-1\r\nzero=0\r\none=1\r\n");
    const IniFile ini(iniPath().c_str(), true);
    EXPECT_TRUE(ini.getBool("B", "two", false));
    EXPECT_TRUE(ini.getBool("B", "minus", false));
    EXPECT_FALSE(ini.getBool("B", "zero", true));
    EXPECT_TRUE(ini.getBool("B", "one", false));
    EXPECT_TRUE(ini.getBool("B", "missing", true));
    EXPECT_FALSE(ini.getBool("B", "missing", false));
}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    const IniFile ini(temp.file("absent.ini").c_str(), true);
    EXPECT_EQ(3, ini.getInt("S", "K", 3));
    EXPECT_TRUE(ini.getBool("S", "K", true));
    EXPECT_EQ("fallback", ini.getString("S", "K", "fallback"));
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

TEST_F(IniFileTest, EmptyPathTouchesNothing)
{
    const IniFile ini("", true);
    EXPECT_EQ("", ini.path());
    EXPECT_EQ(4, ini.getInt("S", "K", 4));
    EXPECT_EQ(4, ini.getIntInRange("S", "K", 4, 0, 1));
    EXPECT_TRUE(ini.getBool("S", "K", true));
    EXPECT_EQ("", ini.getString("S", "K", "default"));
    EXPECT_FALSE(ini.putString("S", "K", "x"));
}

TEST(IniFilePath, AbsoluteNamesAreKept)
{
    const std::string before = currentDirectory();
    EXPECT_EQ("C:\\x.ini", IniFile("C:\\x.ini", false).path());
    EXPECT_EQ("z:\\dir\\x.ini", IniFile("z:\\dir\\x.ini", false).path());
    EXPECT_EQ("relative.ini", IniFile("relative.ini", true).path());
    EXPECT_EQ("C:/x.ini", IniFile("C:/x.ini", true).path());
    // Nothing asked for the program's directory, so the current directory stayed.
    EXPECT_EQ(before, currentDirectory());
}

TEST(IniFilePath, OtherNamesGoBesideTheProgram)
{
    const std::string directory = executableDirectory();
    TempDirectory elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    EXPECT_EQ(directory + "\\C:/x.ini", IniFile("C:/x.ini", false).path());
    EXPECT_EQ(directory, currentDirectory());
    EXPECT_EQ(directory + "\\\\\\server\\share\\x.ini", IniFile("\\\\server\\share\\x.ini", false).path());
    EXPECT_EQ(directory + "\\sub\\x.ini", IniFile("sub\\x.ini", false).path());
    EXPECT_EQ(directory + "\\\\x.ini", IniFile("\\x.ini", false).path());
    EXPECT_EQ(directory + "\\C:", IniFile("C:", false).path());
    EXPECT_EQ(directory + "\\TaveloKeyboard.ini", IniFile("TaveloKeyboard.ini", false).path());
    EXPECT_EQ(directory, moduleDirectory());
}

} // namespace
