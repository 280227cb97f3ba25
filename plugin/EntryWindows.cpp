// Entry routine of the DLL. The C runtime finds it by its decorated name, so the
// parameter types only need the Win32 sizes (HINSTANCE, DWORD, LPVOID).
#include "Lifetime.h"

extern "C" int __stdcall DllMain(void* module, unsigned long reason, void* reserved) {
    (void)module;
    (void)reserved;
    return PluginEntry(reason);
}
