// Every command export behind one signature, for tables that run them all.
#ifndef RTD_TESTS_PLUGIN_COMMANDEXPORTS_H
#define RTD_TESTS_PLUGIN_COMMANDEXPORTS_H

#include <functional>
#include <vector>

#include "rtd2120/rtd2120.h"

namespace rtd::test {

struct CommandExport {
    const char* name;
    std::function<bool()> run;
    bool dialog; // About and Setup return nothing: they count as true once they return
};

inline std::vector<CommandExport> AllCommands() {
    return {
        {"Write", [] { return Write(nullptr); }, false},
        {"Erase", [] { return Erase(); }, false},
        {"Reset", [] { return Reset(); }, false},
        {"ExtFunc", [] { return ExtFunc(nullptr); }, false},
        {"About", [] { return About(), true; }, true},
        {"Setup", [] { return ::Setup(), true; }, true},
    };
}

} // namespace rtd::test

#endif
