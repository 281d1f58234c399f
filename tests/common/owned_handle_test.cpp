#include <gtest/gtest.h>

#include <vector>

#include "common/owned_handle.h"

namespace {

// Records every release; the handles are plain tokens.
std::vector<HANDLE> releasedTokens;

class CountingHandle : public OwnedHandle<HANDLE> {
public:
    BOOL release() override
    {
        releasedTokens.push_back(handle);
        return TRUE;
    }
    ~CountingHandle() override { reset(); }
};

HANDLE token(uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

TEST(OwnedHandle, ReleasesEveryHandleItHeldExactlyOnce)
{
    releasedTokens.clear();
    {
        CountingHandle empty;
        EXPECT_EQ(empty.get(), nullptr);
        empty.reset();
    }
    EXPECT_TRUE(releasedTokens.empty()) << "an empty owner releases nothing";
    {
        CountingHandle owner;
        owner.attach(token(1));
        EXPECT_TRUE(releasedTokens.empty());
        owner.attach(token(2));
        ASSERT_EQ(releasedTokens, std::vector<HANDLE>{token(1)})
            << "the old handle goes before the new is held";
        EXPECT_EQ(owner.get(), token(2));
    }
    EXPECT_EQ(releasedTokens, (std::vector<HANDLE>{token(1), token(2)}));
    releasedTokens.clear();
    {
        CountingHandle owner;
        owner.attach(token(7));
        owner.reset();
        EXPECT_EQ(owner.get(), nullptr);
        owner.reset();
    }
    EXPECT_EQ(releasedTokens, std::vector<HANDLE>{token(7)})
        << "nothing left for the destructor after a reset";
}

TEST(OwnedHandleVariants, EachReleasesItsKindOfObject)
{
    HDC screen = GetDC(nullptr);
    HBITMAP first = CreateCompatibleBitmap(screen, 4, 4);
    HBITMAP second = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(GetObjectType(first), 0u);
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // A library that nothing else in this process loads.
    ASSERT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
    {
        GdiObjectHandle bitmap;
        bitmap.attach(first);
        bitmap.attach(second);
        EXPECT_EQ(GetObjectType(first), 0u) << "replaced bitmap deleted";
        EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
        KernelHandle kernel;
        kernel.attach(event);
        ModuleHandle module;
        module.attach(LoadLibraryA("msimg32.dll"));
        ASSERT_NE(module.get(), nullptr);
        EXPECT_NE(GetModuleHandleA("msimg32.dll"), nullptr);
    }
    EXPECT_EQ(GetObjectType(second), 0u) << "held bitmap deleted at destruction";
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags)) << "event closed at destruction";
    EXPECT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
}

} // namespace
