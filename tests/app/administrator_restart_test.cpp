// Choosing 管理者として再起動 with the start of the new copy replaced: the settings are written and
// the mutex is free while it starts; when it did not start (the user said no to the prompt), this
// copy takes the mutex again and goes on, and writes its settings at exit as always.
#include <gtest/gtest.h>

#include <memory>

#include "app/administrator_restart.h"
#include "support/mutex_watch.h"
#include "support/process_tools.h"

namespace {

using namespace testing_support;

std::string iniPath, mutexName, settingsAtStart;
MutexSeen mutexAtStart = MutexSeen::owned;
std::unique_ptr<OtherCopyMutex> anotherCopy;

void look()
{
    settingsAtStart = readFile(iniPath);
    mutexAtStart = seenFromAnotherThread(mutexName);
}
// The new copy starts and changes the settings at once.
bool starts(HWND)
{
    look();
    return writeFile(iniPath, "[Window]\r\nLeft=7\r\n");
}
bool isRefused(HWND)
{
    look();
    return false;
}
// Another copy is started by hand while the prompt waits for its no.
bool isRefusedWhileAnotherCopyStarts(HWND)
{
    look();
    anotherCopy = std::make_unique<OtherCopyMutex>(mutexName);
    return false;
}

TEST(AdministratorRestart, HandsOverWithSettingsWrittenAndMutexFreeOrGoesOnWhenTheStartIsRefused)
{
    struct Row {
        const char* name;
        AdministratorStart start;
        bool ends;          // this copy ends
        MutexSeen atEnd;    // once another copy started meanwhile has ended
        const char* atExit; // the settings file once this copy's registry is gone
    };
    const Row rows[] = {
        {"started", starts, true, MutexSeen::free, "[Window]\r\nLeft=7\r\n"},
        {"refused", isRefused, false, MutexSeen::owned, "[Window]\r\nLeft=120\r\n"},
        {"another copy started", isRefusedWhileAnotherCopyStarts, true, MutexSeen::free,
            "[Window]\r\nLeft=100\r\n"},
    };
    TestWindow window;
    char name[128] = {};
    ASSERT_GT(GetClassNameA(window.get(), name, sizeof name), 0);
    mutexName = name;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDirectory temp;
        iniPath = temp.file("TaveloKeyboard.ini");
        int left = 100;
        auto settings = std::make_unique<SettingsRegistry>(iniPath.c_str(), true);
        settings->bindInt("Window", "Left", &left, 100);
        SingleInstanceGuard guard;
        ASSERT_FALSE(guard.check(name, nullptr));
        // A tool holds a handle all along: the mutex must be let go, not only closed.
        KernelHandle heldElsewhere;
        heldElsewhere.attach(OpenMutexA(SYNCHRONIZE, FALSE, name));

        EXPECT_EQ(handOverToAdministratorCopy(window.get(), name, guard, *settings, row.start), row.ends);
        EXPECT_EQ(settingsAtStart, "[Window]\r\nLeft=100\r\n") << "not written before the start";
        EXPECT_EQ(mutexAtStart, MutexSeen::free);
        anotherCopy.reset();
        EXPECT_EQ(seenFromAnotherThread(mutexName), row.atEnd);
        left = 120; // the copy that goes on is moved
        settings.reset();
        EXPECT_EQ(readFile(iniPath), row.atExit);
    }
}

} // namespace
