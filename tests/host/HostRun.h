// Running the whole host for tests: in-process through RunHost (the real loader and the
// built plug-in), or as the real executable in a child process.
#ifndef RTD_TESTS_HOST_HOSTRUN_H
#define RTD_TESTS_HOST_HOSTRUN_H

#include <cstdint>
#include <string>
#include <vector>

#include "TempDir.h"

namespace rtd::host::test {

struct HostResult {
    int status = -1;
    std::string out;
    std::string err;
};

// RunHost with --plugin set to the built plug-in, as if not on a terminal.
HostResult RunInProcess(std::vector<std::string> args);

// The built executable with `args` (no shell quoting needed: no spaces), its output
// captured through files in `workDir`.
HostResult RunExecutable(const std::string& executable, const std::string& args,
                         const std::string& workDir);

// Paths of the build, in the form the running test opens them.
std::string PluginPath();
std::string ExecutablePath();
std::string ExamplePath(const std::string& name);
std::string TempPath(const std::string& name);

// Sets an environment variable for the life of the object (empty: unset), for the
// stand-in adapter DLL and the child processes.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
};

using rtd::test::ReadFileBytes;
using rtd::test::ReadFileText;
std::vector<std::string> SplitLines(const std::string& text);

} // namespace rtd::host::test

#endif
