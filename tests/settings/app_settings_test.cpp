#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "settings/app_settings.h"
#include "support/process_tools.h"

namespace {

using testing_support::crlfText;

// DefaultPosition, MostTop, MemorizePosition, Left, Top, UseCustomImage, CustomImageName and
// WheelInitTime.
using Settings = std::tuple<int, bool, bool, int, int, bool, std::string, int>;
Settings settings()
{
    return {DefaultPosition, MostTop, MemorizePosition, Left, Top, UseCustomImage, CustomImageName,
        WheelInitTime};
}

class AppSettingsTest : public ::testing::Test {
protected:
    std::string iniPath() const { return temp.file("TaveloKeyboard.ini"); }
    void givenFile(const std::string& text) { ASSERT_TRUE(testing_support::writeFile(iniPath(), text)); }
    std::string onDisk() const { return testing_support::readFile(iniPath()); }

    // Start-up binds every setting; the registry's end at process exit writes them back.
    void startUp()
    {
        registry = std::make_unique<SettingsRegistry>(iniPath().c_str(), true);
        bindAppSettings(*registry);
    }
    void shutDown() { registry.reset(); }

    testing_support::TempDirectory temp;
    std::unique_ptr<SettingsRegistry> registry;
};

TEST_F(AppSettingsTest, FirstRunWritesEveryDefault)
{
    startUp();
    EXPECT_EQ(settings(), (Settings{7, true, true, -1, -1, false, "keyboard.bmp", 1000}));
    Left = 120;
    Top = 80;
    shutDown();
    EXPECT_EQ(crlfText({"[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0", "WheelInitTime=1000",
                  "[Window]", "DefaultPosition=7", "Left=120", "MemorizePosition=1", "MostTop=1", "Top=80"}),
        onDisk());
}

TEST_F(AppSettingsTest, PartialFileGainsTheRest)
{
    givenFile("[Window]\r\nLeft=-1\r\n");
    startUp();
    EXPECT_EQ(settings(), (Settings{7, true, true, -1, -1, false, "keyboard.bmp", 1000}));
    shutDown();
    EXPECT_EQ(
        crlfText({"[Window]", "Left=-1", "DefaultPosition=7", "MemorizePosition=1", "MostTop=1", "Top=-1",
            "[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0", "WheelInitTime=1000"}),
        onDisk());
}

TEST_F(AppSettingsTest, ForeignLinesSurvive)
{
    givenFile(crlfText({"; written by hand", "[Window]", "; where the window goes", "DefaultPosition=2",
        "Colour=blue", "Top=-40", "[Other]", "Keep=yes", "[System]", "CustomImageName=表ソ能\\画像.bmp",
        "UseCustomImage=1", "WheelInitTime=250", "Note=日本語"}));
    startUp();
    EXPECT_EQ(settings(), (Settings{2, true, true, -1, -40, true, "表ソ能\\画像.bmp", 250}));
    Left = -15;
    shutDown();
    EXPECT_EQ(crlfText({"; written by hand", "[Window]", "; where the window goes", "DefaultPosition=2",
                  "Colour=blue", "Top=-40", "Left=-15", "MemorizePosition=1", "MostTop=1", "[Other]",
                  "Keep=yes", "[System]", "CustomImageName=表ソ能\\画像.bmp", "UseCustomImage=1",
                  "WheelInitTime=250", "Note=日本語"}),
        onDisk());
}

TEST_F(AppSettingsTest, BadValuesAreReplacedAndWrittenBack)
{
    givenFile(crlfText({"[Window]", "DefaultPosition=9", "MostTop=2", "MemorizePosition=-1", "Left=-3000",
        "Top=99999", "[System]", "UseCustomImage=0", "CustomImageName=", "WheelInitTime=0"}));
    startUp();
    EXPECT_EQ(settings(), (Settings{7, true, true, -3000, 99999, false, "", 1}));
    shutDown();
    EXPECT_EQ(crlfText({"[Window]", "DefaultPosition=7", "MostTop=1", "MemorizePosition=1", "Left=-3000",
                  "Top=99999", "[System]", "UseCustomImage=0", "CustomImageName=", "WheelInitTime=1"}),
        onDisk());
}

TEST_F(AppSettingsTest, EdgeValuesAreKeptOrCorrected)
{
    // Written value, then the position and the wheel time that the program keeps for it.
    for (const auto& [written, position, wheel] :
        {std::tuple{"0", 0, 1}, {"8", 8, 8}, {"-1", 7, 1}, {"-5", 7, 1}}) {
        givenFile(std::string("[Window]\r\nDefaultPosition=") + written
            + "\r\n[System]\r\nWheelInitTime=" + written + "\r\n");
        startUp();
        EXPECT_EQ(position, DefaultPosition) << written;
        EXPECT_EQ(wheel, WheelInitTime) << written;
        shutDown();
        const IniFile file(iniPath().c_str(), true);
        EXPECT_EQ(position, file.getInt("Window", "DefaultPosition", 100)) << written;
        EXPECT_EQ(wheel, file.getInt("System", "WheelInitTime", 100)) << written;
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
    Left = 5;
    Top = 6;
    shutDown();
    startUp();
    EXPECT_EQ(settings(), (Settings{3, false, false, 5, 6, true, "mine.bmp", 42}));
    shutDown();
}

} // namespace
