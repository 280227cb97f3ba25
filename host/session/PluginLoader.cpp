#include "PluginLoader.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace rtd::host {

namespace {

#if defined(_WIN32)
void* OpenLibrary(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        *error =
            "cannot load the plug-in " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
}
void* FindSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void CloseLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* OpenLibrary(const std::string& path, std::string* error) {
    // A bare file name would make dlopen search the library path instead of the folder.
    const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        *error = "cannot load the plug-in: " + std::string(reason ? reason : path);
    }
    return handle;
}
void* FindSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
void CloseLibrary(void* handle) {
    dlclose(handle);
}
#endif

template <typename Fn> bool Resolve(void* handle, const char* name, Fn* slot, std::string* error) {
    void* symbol = FindSymbol(handle, name);
    if (!symbol) {
        *error = std::string("the plug-in has no export named ") + name;
        return false;
    }
    *slot = reinterpret_cast<Fn>(symbol);
    return true;
}

bool IsFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

} // namespace

std::unique_ptr<Plugin> Plugin::Load(const std::string& path, std::string* error) {
    std::unique_ptr<Plugin> plugin(new Plugin);
    plugin->handle_ = OpenLibrary(path, error);
    if (!plugin->handle_)
        return nullptr;
    void* h = plugin->handle_;
    PluginExports& e = plugin->exports_;
    const bool ok = Resolve(h, "KXMcuName", &e.KXMcuName, error) &&
                    Resolve(h, "SetIICInterFace", &e.SetIICInterFace, error) &&
                    Resolve(h, "SetMainFrm", &e.SetMainFrm, error) &&
                    Resolve(h, "SupportReset", &e.SupportReset, error) &&
                    Resolve(h, "SupportErase", &e.SupportErase, error) &&
                    Resolve(h, "SupportExtFunc", &e.SupportExtFunc, error) &&
                    Resolve(h, "About", &e.About, error) && Resolve(h, "Setup", &e.Setup, error) &&
                    Resolve(h, "ExtFunc", &e.ExtFunc, error) &&
                    Resolve(h, "Write", &e.Write, error) && Resolve(h, "Erase", &e.Erase, error) &&
                    Resolve(h, "Reset", &e.Reset, error) &&
                    Resolve(h, "ExtFuncName", &e.ExtFuncName, error) &&
                    Resolve(h, "SetInfoList", &e.SetInfoList, error) &&
                    Resolve(h, "SetIspFileExt", &e.SetIspFileExt, error);
    if (!ok)
        return nullptr; // the destructor unloads the library
    return plugin;
}

Plugin::~Plugin() {
    if (handle_)
        CloseLibrary(handle_);
}

const char* PluginFileName() {
#if defined(_WIN32)
    return "RTD2120.dll";
#else
    return "librtd2120.so";
#endif
}

std::string ExecutablePath() {
#if defined(_WIN32)
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
#else
    char buffer[PATH_MAX + 1] = {};
    const ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
#endif
}

std::string DefaultPluginPath(const std::string& executablePath) {
    const size_t cut = executablePath.find_last_of("/\\");
    const std::string folder =
        cut == std::string::npos ? std::string() : executablePath.substr(0, cut + 1);
    const std::string name = PluginFileName();
#ifndef RTD_INSTALLED_PLUGIN_DIR
#define RTD_INSTALLED_PLUGIN_DIR "../lib/"
#endif
    for (const char* sub : {"", "../plugin/", RTD_INSTALLED_PLUGIN_DIR}) {
        const std::string candidate = folder + sub + name;
        if (IsFile(candidate))
            return candidate;
    }
    return folder + name; // the error message then names the first place looked at
}

} // namespace rtd::host
