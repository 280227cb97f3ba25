#include "DynamicLibrary.h"

#include <windows.h>

namespace rtd::host {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& name, Search search,
                                                     std::string* reason) {
    HMODULE module = nullptr;
    if (search == Search::SystemFolders) {
        module = LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
        if (!module && GetLastError() == ERROR_INVALID_PARAMETER) // Windows without the flag
            module = LoadLibraryA(name.c_str());
    } else {
        module = LoadLibraryA(name.c_str());
    }
    if (!module) {
        *reason = name + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(reinterpret_cast<void*>(module)));
}

DynamicLibrary::~DynamicLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::Find(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

} // namespace rtd::host
