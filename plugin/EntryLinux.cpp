// Entry routine of the shared library on Linux: load and unload stand in for the
// Windows loader's process attach and detach.
#include "Lifetime.h"

namespace {

// Destroyed at unload (dlclose) or at exit when the host never unloads. Static objects
// are destroyed in reverse order of construction, and this one is constructed after
// those the attach created (the platform among them), so the setting is saved while
// they still exist.
struct DetachAtUnload {
    ~DetachAtUnload() { PluginEntry(kProcessDetach); }
};

__attribute__((constructor)) void OnLibraryLoad() {
    PluginEntry(kProcessAttach);
    static DetachAtUnload detach;
}

} // namespace
