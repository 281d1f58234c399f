#include <gtest/gtest.h>

#include <utility>

#include "common/process_globals.h"
#include "common/warning.h"
#include "support/win32_test_helpers.h"

using testing_support::MessageBoxWatcher;
using testing_support::TestWindow;

// An error box owned by the main window, or by the desktop before the main window exists (such a
// box reports no owner window of its own, or the desktop); the answer is always false.
TEST(Warning, ShowsACaptionedBoxOwnedByTheMainWindowOrTheDesktopAndAnswersFalse)
{
    TestWindow window;
    for (const auto& [owner, text] : {std::pair{window.get(), "keyhook.dllの初期化に失敗しました"},
             std::pair{GetDesktopWindow(), "ウィンドウの作成に失敗しました"}}) {
        mainWindow = owner;
        MessageBoxWatcher watcher;
        EXPECT_FALSE(showWarning(text));
        ASSERT_EQ(watcher.count(), 1);
        const auto box = watcher.first();
        EXPECT_EQ(box.caption, "エラー");
        EXPECT_EQ(box.text, text);
        if (owner == window.get())
            EXPECT_EQ(box.owner, owner);
        else
            EXPECT_TRUE(box.owner == nullptr || box.owner == owner);
    }
    mainWindow = nullptr;
}
