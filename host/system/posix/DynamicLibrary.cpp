#include "DynamicLibrary.h"

#include <dlfcn.h>

namespace rtd::host {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& name, Search search,
                                                     std::string* reason) {
    // A bare file name would make dlopen search the library path instead of the folder.
    const bool bare = name.find('/') == std::string::npos;
    const std::string where = search == Search::Path && bare ? "./" + name : name;
    void* handle = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        *reason = error ? error : name;
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(handle_);
}

void* DynamicLibrary::Find(const char* name) const {
    return dlsym(handle_, name);
}

} // namespace rtd::host
