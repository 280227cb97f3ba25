// Running the whole host for tests: in-process through RunHost (the real loader and the
// built plug-in), or as the real executable in a child process.
#ifndef RTD_TESTS_HOST_HOSTRUN_H
#define RTD_TESTS_HOST_HOSTRUN_H

#include <cstdint>
#include <string>
#include <vector>

#include "ExpectedTrace.h"
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

#if !defined(_WIN32)
// A signal sent to the child once a line of its stderr contains `after`.
struct SignalAt {
    std::string after;
    int signal;
};

// The built executable with --plugin and `args`, its stderr read line by line as it
// runs; each step's signal is sent once, in order. Its stdout goes nowhere, or to a pipe
// nobody reads (`readerGone`: a `| head` that has ended). `out` stays empty; a child
// ended by a signal has status -1.
HostResult RunSignalled(const std::vector<std::string>& args, const std::vector<SignalAt>& steps,
                        bool readerGone = false);
#endif

// Paths of the build, in the form the running test opens them.
std::string PluginPath();
std::string ExecutablePath();
std::string ExamplePath(const std::string& name);
std::string TempPath(const std::string& name);

// Sets an environment variable for the life of the object (empty: unset), for the
// stand-in adapter DLL and the child processes; the value before comes back after.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string before_;
};

using rtd::test::Events;
using rtd::test::ReadFileBytes;
using rtd::test::ReadFileText;
std::vector<std::string> SplitLines(const std::string& text);
// The host's own lines on stderr ("isphost: ..."), without the plug-in's lines and
// progress that share the stream; without the "diagnosis:" lines unless asked for.
std::vector<std::string> HostLines(const std::string& err, bool withDiagnosis = false);

// The trace file isphost --trace wrote: every event, or those whose kind (the first
// letter) is one of `kinds`: "L" the message list, "A" the adapter's side, "WRPLC" the
// plug-in's side, "WR" the bus transfers.
Events TraceEvents(const std::string& tracePath);
Events TraceEvents(const std::string& tracePath, const std::string& kinds);
// The message list as the plug-in filled it: the text of the "L" events.
std::vector<std::string> MessageLines(const std::string& tracePath);
// The events erase the chip (register 90 set to C0).
bool Erases(const Events& trace);

} // namespace rtd::host::test

#endif
