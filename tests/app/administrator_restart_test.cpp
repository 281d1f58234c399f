// Choosing 管理者として再起動, with the start of the new copy replaced: the settings are written
// and the mutex is free while it starts; when it did not start (the user said no to the prompt),
// this copy takes the mutex again and goes on, and its settings are still written at exit.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/administrator_restart.h"
#include "support/process_tools.h"
#include "support/win32_test_helpers.h"

namespace {

using namespace testing_support;

// What the replaced start saw and did; the start takes no context.
struct StartSeen {
    std::string iniPath;
    std::string mutexName;
    std::string settingsOnDisk;
    bool mutexFree = false;
};
StartSeen seen;
KernelHandle mutexOfAnotherCopy;

void look()
{
    seen.settingsOnDisk = readFile(seen.iniPath);
    KernelHandle mutex;
    mutex.attach(OpenMutexA(SYNCHRONIZE, FALSE, seen.mutexName.c_str()));
    seen.mutexFree = mutex.get() == nullptr;
}

// The new copy starts and changes the settings at once.
bool starts(HWND)
{
    look();
    writeFile(seen.iniPath, "[Window]\r\nLeft=7\r\n");
    return true;
}

bool isRefused(HWND)
{
    look();
    return false;
}

// Another copy starts meanwhile, while the prompt waits for its no.
bool isRefusedWhileAnotherCopyStarts(HWND)
{
    look();
    mutexOfAnotherCopy.attach(CreateMutexA(nullptr, TRUE, seen.mutexName.c_str()));
    return false;
}

struct HandOverRow {
    const char* name;
    AdministratorStart start;
    bool ends;          // this copy ends
    bool mutexHeld;     // by this copy afterwards
    const char* atExit; // the settings file once this copy's registry is gone
};

TEST(AdministratorRestart, HandsOverWithSettingsWrittenAndMutexFreeOrGoesOnWhenTheStartIsRefused)
{
    const HandOverRow rows[] = {
        {"started", starts, true, false, "[Window]\r\nLeft=7\r\n"},
        {"refused", isRefused, false, true, "[Window]\r\nLeft=120\r\n"},
        {"refused, another copy started", isRefusedWhileAnotherCopyStarts, true, false,
            "[Window]\r\nLeft=100\r\n"},
    };
    TestWindow window;
    char name[128] = {};
    ASSERT_GT(GetClassNameA(window.get(), name, sizeof name), 0);
    for (const HandOverRow& row : rows) {
        SCOPED_TRACE(row.name);
        TempDirectory temp;
        seen = StartSeen{};
        seen.iniPath = temp.file("TaveloKeyboard.ini");
        seen.mutexName = name;
        int left = 0;
        auto settings = std::make_unique<SettingsRegistry>(seen.iniPath.c_str(), true);
        settings->bindInt("Window", "Left", &left, -1);
        left = 100;
        SingleInstanceGuard guard;
        ASSERT_FALSE(guard.check(name, nullptr));

        EXPECT_EQ(handOverToAdministratorCopy(window.get(), name, guard, *settings, row.start), row.ends);
        EXPECT_EQ(seen.settingsOnDisk, "[Window]\r\nLeft=100\r\n") << "settings not written before the start";
        EXPECT_TRUE(seen.mutexFree);
        EXPECT_EQ(guard.holdsMutex(), row.mutexHeld);
        left = 120; // the copy that goes on moves its window
        settings.reset();
        EXPECT_EQ(readFile(seen.iniPath), row.atExit);
        mutexOfAnotherCopy.reset();
    }
}

} // namespace
