#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "settings/app_settings.h"
#include "settings/settings_test_files.h"

namespace {

using settings_testing::nonBlankLines;
using Lines = std::vector<std::string>;

class AppSettingsTest : public ::testing::Test {
protected:
    std::string iniPath() const { return temp.file("TaveloKeyboard.ini"); }
    void givenFile(const std::string& text) { ASSERT_TRUE(settings_testing::writeFile(iniPath(), text)); }
    std::string onDisk() const { return settings_testing::readFile(iniPath()); }

    // Start-up: a registry for the file, every setting bound.
    void startUp()
    {
        registry = std::make_unique<SettingsRegistry>(iniPath().c_str(), true);
        bindAppSettings(*registry);
    }
    // Process end: the write-back.
    void shutDown() { registry.reset(); }

    settings_testing::TempDirectory temp;
    std::unique_ptr<SettingsRegistry> registry;
};

TEST_F(AppSettingsTest, FirstRunWritesEveryDefault)
{
    startUp();
    EXPECT_EQ(7, DefaultPosition);
    EXPECT_TRUE(MostTop);
    EXPECT_TRUE(MemorizePosition);
    EXPECT_EQ(-1, Left);
    EXPECT_EQ(-1, Top);
    EXPECT_FALSE(UseCustomImage);
    EXPECT_EQ("keyboard.bmp", CustomImageName);
    EXPECT_EQ(1000, WheelInitTime);
    Left = 120;
    Top = 80;
    shutDown();

    const std::string text = onDisk();
    EXPECT_EQ((Lines{"[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0", "WheelInitTime=1000",
                  "[Window]", "DefaultPosition=7", "Left=120", "MemorizePosition=1", "MostTop=1", "Top=80"}),
        nonBlankLines(text));
    EXPECT_TRUE(settings_testing::allLinesEndWithCrLf(text)) << text;
}

TEST_F(AppSettingsTest, PartialFileGainsTheRest)
{
    givenFile("[Window]\r\nLeft=-1\r\n");
    startUp();
    EXPECT_EQ(-1, Left);
    shutDown();
    EXPECT_EQ((Lines{"[Window]", "Left=-1", "DefaultPosition=7", "MemorizePosition=1", "MostTop=1", "Top=-1",
                  "[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0", "WheelInitTime=1000"}),
        nonBlankLines(onDisk()));
}

TEST_F(AppSettingsTest, ForeignLinesSurvive)
{
    givenFile("; written by hand\r\n"
              "[Window]\r\n"
              "; where the window goes\r\n"
              "DefaultPosition=2\r\n"
              "Colour=blue\r\n"
              "Top=-40\r\n"
              "[Other]\r\n"
              "Keep=yes\r\n"
              "[System]\r\n"
              "CustomImageName=表ソ能\\画像.bmp\r\n"
              "UseCustomImage=1\r\n"
              "WheelInitTime=250\r\n"
              "Note=日本語\r\n");
    startUp();
    EXPECT_EQ(2, DefaultPosition);
    EXPECT_EQ(-40, Top);
    EXPECT_TRUE(UseCustomImage);
    EXPECT_EQ("表ソ能\\画像.bmp", CustomImageName);
    EXPECT_EQ(250, WheelInitTime);
    Left = -15;
    shutDown();
    EXPECT_EQ(
        (Lines{"; written by hand", "[Window]", "; where the window goes", "DefaultPosition=2", "Colour=blue",
            "Top=-40", "Left=-15", "MemorizePosition=1", "MostTop=1", "[Other]", "Keep=yes", "[System]",
            "CustomImageName=表ソ能\\画像.bmp", "UseCustomImage=1", "WheelInitTime=250", "Note=日本語"}),
        nonBlankLines(onDisk()));
}

TEST_F(AppSettingsTest, BadValuesAreReplacedAndWrittenBack)
{
    givenFile(
        "[Window]\r\nDefaultPosition=9\r\nMostTop=2\r\nMemorizePosition=-1\r\nLeft=-3000\r\nTop=99999\r\n"
        "[System]\r\nUseCustomImage=0\r\nCustomImageName=\r\nWheelInitTime=0\r\n");
    startUp();
    EXPECT_EQ(7, DefaultPosition);
    EXPECT_TRUE(MostTop);
    EXPECT_TRUE(MemorizePosition);
    EXPECT_EQ(-3000, Left);
    EXPECT_EQ(99999, Top);
    EXPECT_FALSE(UseCustomImage);
    EXPECT_EQ("", CustomImageName);
    EXPECT_EQ(1, WheelInitTime);
    shutDown();
    EXPECT_EQ((Lines{"[Window]", "DefaultPosition=7", "MostTop=1", "MemorizePosition=1", "Left=-3000",
                  "Top=99999", "[System]", "UseCustomImage=0", "CustomImageName=", "WheelInitTime=1"}),
        nonBlankLines(onDisk()));
}

TEST_F(AppSettingsTest, EdgeValuesAreKept)
{
    for (const char* position : {"0", "8", "-1", "-5"}) {
        givenFile(std::string("[Window]\r\nDefaultPosition=") + position
            + "\r\n[System]\r\nWheelInitTime=" + position + "\r\n");
        startUp();
        const int written = std::atoi(position);
        EXPECT_EQ(written >= 0 ? written : 7, DefaultPosition) << position;
        EXPECT_EQ(written >= 1 ? written : 1, WheelInitTime) << position;
        shutDown();
        const IniFile file(iniPath().c_str(), true);
        EXPECT_EQ(DefaultPosition, file.getInt("Window", "DefaultPosition", 100)) << position;
        EXPECT_EQ(WheelInitTime, file.getInt("System", "WheelInitTime", 100)) << position;
    }
}

TEST_F(AppSettingsTest, RunTimeChangesReachTheFile)
{
    startUp();
    DefaultPosition = 3;
    MostTop = false;
    MemorizePosition = false;
    UseCustomImage = true;
    CustomImageName = "mine.bmp";
    WheelInitTime = 42;
    shutDown();
    startUp();
    EXPECT_EQ(3, DefaultPosition);
    EXPECT_FALSE(MostTop);
    EXPECT_FALSE(MemorizePosition);
    EXPECT_TRUE(UseCustomImage);
    EXPECT_EQ("mine.bmp", CustomImageName);
    EXPECT_EQ(42, WheelInitTime);
    shutDown();
}

} // namespace
