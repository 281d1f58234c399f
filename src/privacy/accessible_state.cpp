#include "privacy/accessible_state.h"

#include "common/com_ref.h"
#include "common/proc_address.h"
#include "common/system_library.h"

bool AccessibilityLibrary::ready()
{
    if (!loaded) {
        loaded = true;
        accessibility.attach(loadSystemLibrary("oleacc.dll"));
        automation.attach(loadSystemLibrary("oleaut32.dll"));
        com.attach(loadSystemLibrary("ole32.dll"));
        fromEvent = procAddress<FromEvent>(accessibility.get(), "AccessibleObjectFromEvent");
        fromWindow = procAddress<FromWindow>(accessibility.get(), "AccessibleObjectFromWindow");
        clear = procAddress<ClearVariant>(automation.get(), "VariantClear");
    }
    return fromEvent && fromWindow && clear && com.get();
}

namespace {

VARIANT childId(LONG child)
{
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    return id;
}

} // namespace

// Every answer is cleared, whatever its type: a program may answer with a string or an object.
bool AccessibleState::stateIsProtected(IAccessible* object, VARIANT& child) const
{
    VARIANT state{};
    const bool answered = SUCCEEDED(object->get_accState(child, &state)) && state.vt == VT_I4;
    const bool isProtected = answered && (state.lVal & STATE_SYSTEM_PROTECTED) != 0;
    library.clear(&state);
    library.clear(&child);
    return isProtected;
}

// A window's client object names its focused part by child number or as an object of its own.
bool AccessibleState::focusedChildIsProtected(IAccessible* object) const
{
    VARIANT focus{};
    if (FAILED(object->get_accFocus(&focus))) {
        library.clear(&focus);
        return false;
    }
    if (focus.vt == VT_I4)
        return stateIsProtected(object, focus);
    VARIANT self = childId(CHILDID_SELF);
    if (focus.vt != VT_DISPATCH || !focus.pdispVal) {
        library.clear(&focus);
        return stateIsProtected(object, self);
    }
    ComRef<IAccessible> part;
    const bool found = SUCCEEDED(focus.pdispVal->QueryInterface(__uuidof(IAccessible), part.putVoid()));
    library.clear(&focus);
    return found && part && stateIsProtected(part.get(), self);
}

bool AccessibleState::eventObjectIsProtected(HWND window, LONG object, LONG child)
{
    if (!com.start())
        return false;
    ComRef<IAccessible> accessible;
    VARIANT part{};
    if (FAILED(library.fromEvent(
            window, static_cast<DWORD>(object), static_cast<DWORD>(child), accessible.put(), &part))
        || !accessible) {
        library.clear(&part);
        return false;
    }
    return stateIsProtected(accessible.get(), part);
}

bool AccessibleState::focusedPartIsProtected(HWND window)
{
    if (!com.start())
        return false;
    ComRef<IAccessible> client;
    if (FAILED(library.fromWindow(
            window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), client.putVoid()))
        || !client)
        return false;
    return focusedChildIsProtected(client.get());
}
