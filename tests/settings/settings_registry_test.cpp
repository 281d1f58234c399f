#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/settings_registry.h"
#include "support/process_tools.h"

namespace {

using testing_support::crlfText;

class SettingsRegistryTest : public ::testing::Test {
protected:
    std::string iniPath() const { return temp.file("settings.ini"); }
    void givenFile(const std::string& text) { ASSERT_TRUE(testing_support::writeFile(iniPath(), text)); }
    std::string onDisk() const { return testing_support::readFile(iniPath()); }
    std::unique_ptr<SettingsRegistry> openRegistry()
    {
        return std::make_unique<SettingsRegistry>(iniPath().c_str(), true);
    }

    testing_support::TempDirectory temp;
};

TEST_F(SettingsRegistryTest, WritesCurrentValuesSortedBySectionThenKeyByteWise)
{
    int top = 0, wheel = 0, left = 0, a = 0, b = 0, c = 0, d = 0, e = 0;
    auto registry = openRegistry();
    registry->bindInt("Window", "Top", &top, 0);
    registry->bindInt("System", "WheelInitTime", &wheel, 0);
    registry->bindInt("Window", "Left", &left, 0);
    registry->bindInt("Window", "zeta", &a, 1);
    registry->bindInt("Window", "\x81\x40key", &b, 2); // a double-byte name after every ASCII one
    registry->bindInt("Win", "alpha", &c, 3);
    registry->bindInt("Window", "alpha", &d, 4);
    registry->bindInt("Window", "Beta", &e, 5); // capitals before small letters
    top = 30;
    wheel = 500;
    left = 20;
    registry.reset();
    EXPECT_EQ(crlfText({"[System]", "WheelInitTime=500", "[Win]", "alpha=3", "[Window]", "Beta=5", "Left=20",
                  "Top=30", "alpha=4", "zeta=1", "\x81\x40key=2"}),
        onDisk());
}

TEST_F(SettingsRegistryTest, KeysDifferingInCaseAreBothWritten)
{
    givenFile("[S]\r\nLeft=7\r\n");
    int upper = 0, lower = 0;
    auto registry = openRegistry();
    registry->bindInt("S", "Left", &upper, 0);
    registry->bindInt("S", "left", &lower, 0);
    EXPECT_EQ(7, upper);
    EXPECT_EQ(7, lower);
    upper = 1;
    lower = 2;
    registry.reset();
    // The file's keys ignore case: the second write, of "left", is the one that stays.
    EXPECT_EQ(2, IniFile(iniPath().c_str(), true).getInt("S", "Left", 0));
    EXPECT_EQ(2u, testing_support::readLines(iniPath()).size());
}

TEST_F(SettingsRegistryTest, SecondBindingOfAKeyOnlyReads)
{
    givenFile("[S]\r\nK=5\r\nName=file\r\n");
    int first = 0, second = 0;
    std::string firstName, secondName;
    auto registry = openRegistry();
    registry->bindInt("S", "K", &first, 9);
    registry->bindInt("S", "K", &second, 9);
    registry->bindString("S", "Name", &firstName, "x");
    registry->bindString("S", "Name", &secondName, "x");
    EXPECT_EQ(5, first);
    EXPECT_EQ(5, second);
    EXPECT_EQ("file", secondName);
    first = 1;
    second = 2;
    firstName = "one";
    secondName = "two";
    registry.reset();
    EXPECT_EQ(crlfText({"[S]", "K=1", "Name=one"}), onDisk());
}

TEST_F(SettingsRegistryTest, EmptiedStringIsWrittenEmpty)
{
    givenFile("[S]\r\nName=picture.bmp\r\n");
    std::string name;
    bool flag = false;
    auto registry = openRegistry();
    registry->bindString("S", "Name", &name, "default.bmp");
    registry->bindBool("S", "Flag", &flag, true);
    EXPECT_EQ("picture.bmp", name);
    EXPECT_TRUE(flag);
    name.clear();
    flag = false;
    registry.reset();
    EXPECT_EQ(crlfText({"[S]", "Name=", "Flag=0"}), onDisk());
}

TEST_F(SettingsRegistryTest, NothingBoundOrNoPathWritesNothing)
{
    openRegistry().reset();
    int number = 0;
    bool flag = false;
    std::string text = "old";
    {
        SettingsRegistry registry("", true);
        registry.bindIntInRange("S", "N", &number, 6, 0, 8);
        registry.bindBool("S", "F", &flag, true);
        registry.bindString("S", "T", &text, "default");
    }
    EXPECT_EQ(6, number);
    EXPECT_TRUE(flag);
    EXPECT_EQ("", text);
    EXPECT_TRUE(testing_support::directoryEntries(temp.path()).empty());
}

TEST_F(SettingsRegistryTest, OverlongTextIsNotCutInTheFile)
{
    const std::string original = "[S]\r\nLong=" + std::string(1500, 'y') + "\r\nOther=1\r\n";
    givenFile(original);
    std::string text;
    int other = 0;
    {
        auto registry = openRegistry();
        registry->bindString("S", "Long", &text, "");
        registry->bindInt("S", "Other", &other, 0);
    }
    EXPECT_EQ(std::string(1023, 'y'), text);
    EXPECT_EQ(original, onDisk());

    // Cut inside a double-byte character.
    const std::string japanese = "[S]\r\nLong=" + std::string(1022, 'y') + "表ソ能\r\n";
    givenFile(japanese);
    {
        auto registry = openRegistry();
        registry->bindString("S", "Long", &text, "");
    }
    EXPECT_GE(text.size(), 1022u);
    EXPECT_EQ(japanese, onDisk());

    // A value that the program did change is written as it is now.
    {
        auto registry = openRegistry();
        registry->bindString("S", "Long", &text, "");
        text = "short";
    }
    EXPECT_EQ(crlfText({"[S]", "Long=short"}), onDisk());
}

TEST(SettingBindingOrder, ComparesUnsignedBytes)
{
    int target = 0;
    const SettingBinding ascii("S", "z", &target);
    const SettingBinding high("S", "\xE0", &target);
    const SettingBinding prefix("S", "zz", &target);
    const SettingBinding otherSection("T", "a", &target);
    EXPECT_TRUE(ascii.less(high));
    EXPECT_FALSE(high.less(ascii));
    EXPECT_TRUE(ascii.less(prefix));
    EXPECT_TRUE(high.less(otherSection));
    EXPECT_FALSE(ascii.less(ascii));
    // Neither before the other: the same key, which the registry binds only once.
    const SettingBinding same("S", "z", &target);
    EXPECT_FALSE(ascii.less(same) || same.less(ascii));
    EXPECT_TRUE(SettingBinding("S", "Z", &target).less(ascii));
    EXPECT_TRUE(ascii.less(SettingBinding("s", "z", &target)));
}

} // namespace
