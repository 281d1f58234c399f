#include "privacy/accessible_state.h"

#include <oleacc.h>

#include "common/com_apartment.h"
#include "common/com_ref.h"
#include "common/owned_handle.h"
#include "common/proc_address.h"
#include "common/system_library.h"

class AccessibilityLibrary {
public:
    using FromEvent = HRESULT(WINAPI*)(HWND, DWORD, DWORD, IAccessible**, VARIANT*);
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

    AccessibilityLibrary() = default;
    AccessibilityLibrary(const AccessibilityLibrary&) = delete;
    AccessibilityLibrary& operator=(const AccessibilityLibrary&) = delete;

    // Loads the libraries at the first call; true when the functions are there.
    bool ready()
    {
        if (!loaded)
            load();
        return com.start() && fromEvent && fromWindow;
    }
    FromEvent fromEvent = nullptr;
    FromWindow fromWindow = nullptr;

private:
    void load()
    {
        loaded = true;
        accessibility.attach(loadSystemLibrary("oleacc.dll"));
        fromEvent = procAddress<FromEvent>(accessibility.get(), "AccessibleObjectFromEvent");
        fromWindow = procAddress<FromWindow>(accessibility.get(), "AccessibleObjectFromWindow");
    }
    // Freed after COM has been shut down.
    ModuleHandle accessibility;
    // Objects of other processes arrive as proxies, which need COM on this thread.
    ComApartment com;
    bool loaded = false;
};

namespace {

VARIANT childId(LONG child)
{
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    return id;
}

bool stateIsProtected(IAccessible* object, const VARIANT& child)
{
    VARIANT state{};
    if (FAILED(object->get_accState(child, &state)) || state.vt != VT_I4)
        return false;
    return (state.lVal & STATE_SYSTEM_PROTECTED) != 0;
}

// A window's client object names its focused part by child number or as an object of its own.
bool focusedChildIsProtected(IAccessible* object)
{
    VARIANT focus{};
    if (FAILED(object->get_accFocus(&focus)))
        return false;
    if (focus.vt == VT_I4)
        return stateIsProtected(object, focus);
    if (focus.vt != VT_DISPATCH || !focus.pdispVal)
        return stateIsProtected(object, childId(CHILDID_SELF));
    ComRef<IAccessible> part;
    const bool found = SUCCEEDED(focus.pdispVal->QueryInterface(__uuidof(IAccessible), part.putVoid()));
    focus.pdispVal->Release();
    return found && stateIsProtected(part.get(), childId(CHILDID_SELF));
}

} // namespace

AccessibleState::AccessibleState()
    : library(std::make_unique<AccessibilityLibrary>())
{
}

AccessibleState::~AccessibleState() = default;

bool AccessibleState::eventObjectIsProtected(HWND window, LONG object, LONG child)
{
    if (!library->ready())
        return false;
    ComRef<IAccessible> accessible;
    VARIANT part{};
    if (FAILED(library->fromEvent(
            window, static_cast<DWORD>(object), static_cast<DWORD>(child), accessible.put(), &part))
        || !accessible)
        return false;
    return stateIsProtected(accessible.get(), part);
}

bool AccessibleState::focusedPartIsProtected(HWND window)
{
    if (!library->ready())
        return false;
    ComRef<IAccessible> client;
    if (FAILED(library->fromWindow(
            window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), client.putVoid()))
        || !client)
        return false;
    return focusedChildIsProtected(client.get());
}
