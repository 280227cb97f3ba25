// Loads the plug-in from a path at run time and finds its 15 exports by name. The host
// reaches the plug-in through these pointers only.
#ifndef RTD_HOST_SESSION_PLUGINLOADER_H
#define RTD_HOST_SESSION_PLUGINLOADER_H

#include <memory>
#include <string>

#include "DynamicLibrary.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

struct PluginExports {
    KXMcuNameFn KXMcuName = nullptr;
    SetIICInterFaceFn SetIICInterFace = nullptr;
    SetMainFrmFn SetMainFrm = nullptr;
    SupportFn SupportReset = nullptr;
    SupportFn SupportErase = nullptr;
    SupportFn SupportExtFunc = nullptr;
    DialogFn About = nullptr;
    DialogFn Setup = nullptr;
    StringCommandFn ExtFunc = nullptr;
    StringCommandFn Write = nullptr;
    CommandFn Erase = nullptr;
    CommandFn Reset = nullptr;
    ExtFuncNameFn ExtFuncName = nullptr;
    SetInfoListFn SetInfoList = nullptr;
    SetIspFileExtFn SetIspFileExt = nullptr;
};

// A loaded plug-in. Destroying it unloads the library, which makes the plug-in save its
// setting.
class Plugin {
public:
    // Null, with a one-line reason, when the library cannot be loaded or lacks an export.
    static std::unique_ptr<Plugin> Load(const std::string& path, std::string* error);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const PluginExports& Exports() const { return exports_; }

private:
    Plugin() = default;
    std::unique_ptr<DynamicLibrary> library_;
    PluginExports exports_;
};

// File name of the plug-in on this system ("librtd2120.so" or "RTD2120.dll").
const char* PluginFileName();

// Full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();

// Where the plug-in is looked for when no --plugin is given, in order: beside the
// executable, in ../plugin (the build tree) and in the library folder of an install
// (../lib, or ../lib/<multiarch> for a /usr install).
std::string DefaultPluginPath(const std::string& executablePath);

} // namespace rtd::host

#endif
