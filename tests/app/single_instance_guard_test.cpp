#include <gtest/gtest.h>

#include "app/single_instance_guard.h"
#include "support/win32_test_helpers.h"

// Two copies started in the same instant can both miss each other in the first step; the one
// whose create then finds the mutex made must step back like any second copy, and must not keep
// the mutex alive after the first copy ends.
TEST(SingleInstanceGuard, ACopyWhoseCreateFindsTheMutexMadeStepsBackKeepingNoHandle)
{
    testing_support::TestWindow firstCopyWindow;
    char name[128] = {};
    ASSERT_GT(GetClassNameA(firstCopyWindow.get(), name, sizeof name), 0);
    SingleInstanceGuard guard;
    HWND found = nullptr;
    ASSERT_FALSE(guard.findOtherCopy(name, &found));

    KernelHandle firstCopyMutex;
    firstCopyMutex.attach(CreateMutexA(nullptr, TRUE, name));
    ASSERT_NE(firstCopyMutex.get(), nullptr);
    EXPECT_TRUE(guard.takeMutexOrFindOtherCopy(name, &found));
    EXPECT_EQ(found, firstCopyWindow.get());

    firstCopyMutex.reset();
    KernelHandle left;
    left.attach(OpenMutexA(SYNCHRONIZE, FALSE, name));
    EXPECT_EQ(left.get(), nullptr) << "the guard kept the mutex alive";
}
