#pragma once
// Owners for the few system handles the library holds; each releases its handle exactly once.
#include <windows.h>

namespace keyhook {

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle owned)
        : handle(owned)
    {
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

    // Gives the handle up without releasing it.
    Handle detach()
    {
        const Handle given = handle;
        handle = nullptr;
        return given;
    }

    void reset(Handle replacement = nullptr)
    {
        if (handle)
            Release(handle);
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

using ScopedKernelHandle = ScopedHandle<HANDLE, CloseHandle>;
using ScopedHook = ScopedHandle<HHOOK, UnhookWindowsHookEx>;
using ScopedWindow = ScopedHandle<HWND, DestroyWindow>;

} // namespace keyhook
