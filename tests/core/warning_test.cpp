#include <gtest/gtest.h>

#include "app/process_globals.h"
#include "app/warning.h"
#include "support/win32_test_helpers.h"

using testing_support::MessageBoxWatcher;
using testing_support::TestWindow;

TEST(Warning, ShowsACaptionedBoxOwnedByTheMainWindowAndAnswersFalse)
{
    TestWindow owner;
    mainWindow = owner.get();
    MessageBoxWatcher watcher;
    EXPECT_FALSE(showWarning("keyhook.dllの初期化に失敗しました"));
    ASSERT_EQ(watcher.count(), 1);
    const auto box = watcher.first();
    EXPECT_EQ(box.caption, "エラー");
    EXPECT_EQ(box.text, "keyhook.dllの初期化に失敗しました");
    EXPECT_EQ(box.owner, owner.get());
    mainWindow = nullptr;
}

TEST(Warning, BeforeTheMainWindowExistsTheDesktopOwnsIt)
{
    mainWindow = GetDesktopWindow();
    MessageBoxWatcher watcher;
    EXPECT_FALSE(showWarning("ウィンドウの作成に失敗しました"));
    ASSERT_EQ(watcher.count(), 1);
    EXPECT_EQ(watcher.first().text, "ウィンドウの作成に失敗しました");
    // A box owned by the desktop reports no owner window of its own.
    const HWND owner = watcher.first().owner;
    EXPECT_TRUE(owner == nullptr || owner == GetDesktopWindow());
    mainWindow = nullptr;
}
