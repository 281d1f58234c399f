#pragma once
#include <unknwn.h>

#include "common/owned_handle.h"

// COM on the calling thread, with ole32 loaded from the system folder when it is first needed,
// never at start-up: a library loaded then costs every user memory and time. Started, the thread
// joins a single-threaded apartment (one that already has COM keeps its own); at destruction, on
// the same thread, COM is shut down and ole32 freed.
class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Loads ole32 and initialises COM at the first call; true when COM is there.
    bool start();
    // An object of a class of this process's libraries; E_FAIL without COM.
    HRESULT createInstance(REFCLSID type, REFIID interfaceId, void** object) const;

private:
    using UninitialiseFunction = void(WINAPI*)();
    using CreateFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

    // Declared first, so that it is freed last, after COM has been shut down.
    ModuleHandle module;
    UninitialiseFunction uninitialise = nullptr;
    CreateFunction create = nullptr;
    bool started = false;
    bool initialised = false;
};
