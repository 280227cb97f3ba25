#include "PluginLoader.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace rtd::host {

namespace {

bool IsFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

} // namespace

std::unique_ptr<Plugin> Plugin::Load(const std::string& path, std::string* error) {
    std::string reason;
    std::unique_ptr<DynamicLibrary> library =
        DynamicLibrary::Open(path, DynamicLibrary::Search::Path, &reason);
    if (!library) {
        *error = "cannot load the plug-in: " + reason;
        return nullptr;
    }
    std::unique_ptr<Plugin> plugin(new Plugin);
    PluginExports& e = plugin->exports_;
    library->Resolve("KXMcuName", &e.KXMcuName)
        .Resolve("SetIICInterFace", &e.SetIICInterFace)
        .Resolve("SetMainFrm", &e.SetMainFrm)
        .Resolve("SupportReset", &e.SupportReset)
        .Resolve("SupportErase", &e.SupportErase)
        .Resolve("SupportExtFunc", &e.SupportExtFunc)
        .Resolve("About", &e.About)
        .Resolve("Setup", &e.Setup)
        .Resolve("ExtFunc", &e.ExtFunc)
        .Resolve("Write", &e.Write)
        .Resolve("Erase", &e.Erase)
        .Resolve("Reset", &e.Reset)
        .Resolve("ExtFuncName", &e.ExtFuncName)
        .Resolve("SetInfoList", &e.SetInfoList)
        .Resolve("SetIspFileExt", &e.SetIspFileExt);
    if (!library->FirstMissing().empty()) {
        *error = "the plug-in has no export named " + library->FirstMissing();
        return nullptr; // the library is unloaded
    }
    plugin->library_ = std::move(library);
    return plugin;
}

Plugin::~Plugin() = default;

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
