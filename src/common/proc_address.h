#pragma once
#include <windows.h>

// The export `name` of `module` as a pointer of the function type Function; null when there is no
// module or no such export. The cast goes through a plain function pointer type, which converts to
// any other without a warning.
template <typename Function>
Function procAddress(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
}
