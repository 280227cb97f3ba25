// Loading an adapter maker's DLL (CH341DLL.DLL, ftd2xx.dll) at run time.
#ifndef RTD_HOST_SYSTEM_ADAPTERDLL_H
#define RTD_HOST_SYSTEM_ADAPTERDLL_H

#include <windows.h>

namespace rtd::host {

// From isphost's folder and the system folders only: never the current folder or PATH,
// where any file of that name would otherwise be loaded.
inline HMODULE LoadAdapterDll(const char* name) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) // Windows without the flag
        module = LoadLibraryA(name);
    return module;
}

// The function `name` of a loaded adapter DLL as the pointer type Fn; false when it has
// none (an older or foreign DLL of that name).
template <class Fn> bool FindDllFunction(HMODULE module, const char* name, Fn* fn) {
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return *fn != nullptr;
}

} // namespace rtd::host

#endif
