#include <gtest/gtest.h>

#include <memory>

#include "app/single_instance_guard.h"
#include "support/mutex_watch.h"
#include "support/win32_test_helpers.h"

using namespace testing_support;

// A copy runs when the mutex is owned, not when it merely exists; and a copy that steps back keeps
// no handle, so the mutex still ends with its owner.
TEST(SingleInstanceGuard, TheMutexBelongsToTheNewStartUnlessAnotherCopyOwnsIt)
{
    enum class Before { nothing, runningCopy, handleHeldElsewhere, ownerEndedHoldingIt, copyWithMoreRights };
    struct Row {
        const char* name;
        Before before;
        bool otherCopy; // check's answer
        // What a copy starting later meets: meanwhile, once the running copy has ended, and once
        // this copy has let go too.
        MutexSeen meanwhile, runningCopyEnded, released;
    };
    using enum MutexSeen;
    const Row rows[] = {
        {"nothing", Before::nothing, false, owned, owned, missing},
        {"running copy", Before::runningCopy, true, owned, missing, missing},
        {"handle held elsewhere", Before::handleHeldElsewhere, false, owned, owned, free},
        {"owner ended holding it", Before::ownerEndedHoldingIt, false, owned, owned, free},
        {"copy with more rights", Before::copyWithMoreRights, true, refused, missing, missing},
    };
    TestWindow runningCopyWindow;
    char name[128] = {};
    ASSERT_GT(GetClassNameA(runningCopyWindow.get(), name, sizeof name), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        KernelHandle held;
        std::unique_ptr<OtherCopyMutex> runningCopy;
        if (row.before == Before::runningCopy || row.before == Before::copyWithMoreRights) {
            runningCopy = std::make_unique<OtherCopyMutex>(
                name, row.before == Before::copyWithMoreRights ? "O:SYD:(A;;GA;;;SY)" : nullptr);
            ASSERT_TRUE(runningCopy->owns());
        }
        if (row.before == Before::handleHeldElsewhere)
            held.attach(CreateMutexA(nullptr, FALSE, name));
        if (row.before == Before::ownerEndedHoldingIt)
            std::thread([&] { held.attach(CreateMutexA(nullptr, TRUE, name)); }).join();

        SingleInstanceGuard guard;
        HWND found = nullptr;
        EXPECT_EQ(guard.check(name, &found), row.otherCopy);
        EXPECT_EQ(found, row.otherCopy ? runningCopyWindow.get() : nullptr);
        EXPECT_EQ(seenFromAnotherThread(name), row.meanwhile);
        runningCopy.reset();
        EXPECT_EQ(seenFromAnotherThread(name), row.runningCopyEnded);
        guard.release();
        EXPECT_EQ(seenFromAnotherThread(name), row.released);
    }
}
