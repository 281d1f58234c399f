#include "common/com_apartment.h"

#include <objbase.h>

#include "common/proc_address.h"
#include "common/system_library.h"

ComApartment::~ComApartment()
{
    if (initialised)
        uninitialise();
}

bool ComApartment::start()
{
    if (started)
        return initialised;
    started = true;
    module.attach(loadSystemLibrary("ole32.dll"));
    const auto initialise = procAddress<HRESULT(WINAPI*)(void*, DWORD)>(module.get(), "CoInitializeEx");
    uninitialise = procAddress<UninitialiseFunction>(module.get(), "CoUninitialize");
    create = procAddress<CreateFunction>(module.get(), "CoCreateInstance");
    initialised = initialise && uninitialise && create
        && SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return initialised;
}

HRESULT ComApartment::createInstance(REFCLSID type, REFIID interfaceId, void** object) const
{
    return initialised ? create(type, nullptr, CLSCTX_INPROC_SERVER, interfaceId, object) : E_FAIL;
}
