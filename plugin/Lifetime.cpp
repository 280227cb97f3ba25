#include "Lifetime.h"

#include <new>

#include "Ispunit.h"

void PluginAttach() {
    if (IspUnit)
        return;
    try {
        IspUnit = new TIspUnit;
    } catch (...) {
        // An exception must not leave the loader's call; without the engine object the
        // commands refuse instead.
        IspUnit = nullptr;
    }
}

void PluginDetach() {
    TIspUnit* unit = IspUnit;
    IspUnit = nullptr;
    delete unit;
}

int PluginEntry(unsigned long reason) {
    if (reason == kProcessAttach)
        PluginAttach();
    else if (reason == kProcessDetach)
        PluginDetach();
    return 1;
}
