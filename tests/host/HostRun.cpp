#include "HostRun.h"

#include <cstdlib>
#if defined(_WIN32)
#include <process.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#endif
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "BuildPath.h"
#include "HostMain.h"

namespace rtd::host::test {

std::string PluginPath() {
    return rtd::test::NativeBuildPath(RTD_TEST_PLUGIN);
}
std::string ExecutablePath() {
    return rtd::test::NativeBuildPath(RTD_TEST_ISPHOST);
}
std::string ExamplePath(const std::string& name) {
    return rtd::test::NativeBuildPath(std::string(RTD_TEST_EXAMPLES) + "/" + name);
}
// Named per process: suites of other checkouts may run beside this one in the same
// temporary folder.
std::string TempPath(const std::string& name) {
#if defined(_WIN32)
    const int pid = _getpid();
#else
    const int pid = static_cast<int>(getpid());
#endif
    return ::testing::TempDir() + "rtd-host-" + std::to_string(pid) + "-" + name;
}

HostResult RunInProcess(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugin", PluginPath()});
    std::ostringstream out, err;
    HostResult r;
    r.status = RunHost(args, out, err, false);
    r.out = out.str();
    r.err = err.str();
    return r;
}

HostResult RunExecutable(const std::string& executable, const std::string& args,
                         const std::string& workDir) {
    const std::string out = workDir + "stdout.txt", err = workDir + "stderr.txt";
    const std::string command = executable + " " + args + " >" + out + " 2>" + err;
    const int raw = std::system(command.c_str());
    HostResult r;
#if defined(_WIN32)
    r.status = raw;
#else
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    r.out = ReadFileText(out);
    r.err = ReadFileText(err);
    return r;
}

#if !defined(_WIN32)
HostResult RunSignalled(const std::vector<std::string>& args, const std::vector<SignalAt>& steps,
                        bool readerGone) {
    std::vector<std::string> words = {ExecutablePath(), "--plugin", PluginPath()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    int err[2], out[2];
    HostResult r;
    if (pipe(err) != 0 || pipe(out) != 0)
        return r;
    close(out[0]); // every write to stdout now fails as EPIPE
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (readerGone)
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(err[1]);
    close(out[1]);
    std::FILE* lines = fdopen(err[0], "r");
    if (spawned != 0 || !lines)
        return r;
    size_t next = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, lines)) {
        r.err += line;
        if (next < steps.size() && std::string(line).find(steps[next].after) != std::string::npos)
            kill(pid, steps[next++].signal);
    }
    std::fclose(lines);
    int raw = 0;
    waitpid(pid, &raw, 0);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}
#endif

namespace {
void SetEnv(const std::string& name, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(name.c_str(), value.c_str()); // an empty value removes it
#else
    if (value.empty())
        unsetenv(name.c_str());
    else
        setenv(name.c_str(), value.c_str(), 1);
#endif
}
} // namespace

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
    const char* before = std::getenv(name_.c_str());
    before_ = before ? before : "";
    SetEnv(name_, value);
}

ScopedEnv::~ScopedEnv() {
    SetEnv(name_, before_);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> HostLines(const std::string& err, bool withDiagnosis) {
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(err))
        if (line.rfind("isphost: ", 0) == 0 &&
            (withDiagnosis || line.rfind("isphost: diagnosis: ", 0) != 0))
            lines.push_back(line);
    return lines;
}

Events TraceEvents(const std::string& tracePath) {
    return SplitLines(ReadFileText(tracePath));
}

Events TraceEvents(const std::string& tracePath, const std::string& kinds) {
    return rtd::test::EventsOf(TraceEvents(tracePath), kinds);
}

std::vector<std::string> MessageLines(const std::string& tracePath) {
    std::vector<std::string> lines;
    for (const std::string& e : TraceEvents(tracePath, "L"))
        lines.push_back(e.substr(2));
    return lines;
}

bool Erases(const Events& trace) {
    for (const std::string& e : trace)
        if (e == "W 94 90 C0")
            return true;
    return false;
}

} // namespace rtd::host::test
