// Entry routine of the shared library on Linux: load and unload stand in for the
// Windows loader's process attach and detach.
#include "plugin/Lifetime.h"

namespace {

__attribute__((constructor)) void OnLibraryLoad() {
    PluginEntry(kProcessAttach);
}

__attribute__((destructor)) void OnLibraryUnload() {
    PluginEntry(kProcessDetach);
}

} // namespace
