#pragma once
#include <windows.h>

// Owns at most one system handle and releases it exactly once: when a new handle replaces it,
// on reset, and at destruction. Null means empty. Owners live at fixed places and are never
// copied or moved.
template <typename Handle>
class OwnedHandle {
public:
    OwnedHandle() = default;
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    // Hands the held (non-null) handle back to the system; non-zero on success. Does not clear
    // the field.
    virtual BOOL release() = 0;
    // Each variant empties itself in its own destructor, so that the release that runs there
    // is the variant's own.
    virtual ~OwnedHandle() = default;

    Handle get() const { return handle; }

    void reset()
    {
        if (handle) {
            release();
            handle = nullptr;
        }
    }

    void attach(Handle newHandle)
    {
        if (handle)
            release();
        handle = newHandle;
    }

protected:
    Handle handle = nullptr;
};

class GdiObjectHandle : public OwnedHandle<HGDIOBJ> {
public:
    BOOL release() override { return DeleteObject(handle); }
    ~GdiObjectHandle() override { reset(); }
};

class KernelHandle : public OwnedHandle<HANDLE> {
public:
    BOOL release() override { return CloseHandle(handle); }
    ~KernelHandle() override { reset(); }
};

// A mutex that the holding thread owns: let go, then closed. Closing alone would leave it owned
// until the thread ends, while any other handle keeps it alive.
class OwnedMutex : public OwnedHandle<HANDLE> {
public:
    BOOL release() override
    {
        ReleaseMutex(handle);
        return CloseHandle(handle);
    }
    ~OwnedMutex() override { reset(); }
};

class ModuleHandle : public OwnedHandle<HMODULE> {
public:
    BOOL release() override { return FreeLibrary(handle); }
    ~ModuleHandle() override { ModuleHandle::reset(); }
};

class WinEventHookHandle : public OwnedHandle<HWINEVENTHOOK> {
public:
    BOOL release() override { return UnhookWinEvent(handle); }
    ~WinEventHookHandle() override { reset(); }
};

class RegistryKeyHandle : public OwnedHandle<HKEY> {
public:
    BOOL release() override { return RegCloseKey(handle) == ERROR_SUCCESS; }
    ~RegistryKeyHandle() override { reset(); }
};
