// The 15 functions the host calls. Queries answer from constants, setters store one host
// object, and commands hand over to the engine after the checks that keep a host mistake
// from becoming a crash.
#include <cstring>

#include "AnsiStringArg.h"
#include "Commands.h"
#include "Dialogs.h"
#include "FailureLines.h"
#include "Ispunit.h"
#include "Platform.h"
#include "Writeunit.h"
#include "rtd2120/rtd2120.h"

// A build without the dialog toolkit (RTD_BUILD_UI off) has no dialogs to show.
#ifndef RTD_HAVE_DIALOGS
void ShowAboutDialog() {}
void ShowSetupDialog() {}
#endif

namespace {

const char kMcuName[] = "RTD2120";
const char kExtFuncName[] = "Enter isp";
const char kFileFilter[] = "(*.hex;*.bin)|*.hex;*.bin;*.kvf";

// Copies a constant and its terminating zero; a null buffer is left alone.
char* CopyOut(char* buffer, const char* text, size_t sizeWithZero) {
    if (buffer)
        std::memcpy(buffer, text, sizeWithZero);
    return buffer;
}

// Hands one host object to the engine object (when there is one) and returns it.
template <typename Object, typename Setter> Object* Store(Object* object, Setter setter) {
    if (IspUnit)
        (IspUnit->*setter)(object);
    return object;
}

// True while a command runs. The long commands process the host's window messages, and
// a second command started from there would interleave its bus transfers with the
// running one's, so it is refused.
bool commandRunning = false;

class RunningCommand {
public:
    RunningCommand() { commandRunning = true; }
    ~RunningCommand() { commandRunning = false; }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
};

enum class OnMissingBus { LogOnly, ClearThenLog };

// Runs one bus command: refuses re-entry, a missing engine object and a missing bus
// object, then runs `work` with the timer resolution held. Nothing escapes to the host,
// whose calling convention has no room for an exception.
template <typename Work> bool RunBusCommand(OnMissingBus missingBus, Work work) {
    if (commandRunning || !IspUnit)
        return false;
    if (!IspUnit->IicInterface) {
        if (missingBus == OnMissingBus::ClearThenLog)
            ClearInfo();
        AddInfo(rtd::image::kNoBusLine);
        return false;
    }
    RunningCommand running;
    rtd::CommandScope scope;
    try {
        return work();
    } catch (...) {
        return false;
    }
}

template <typename Show> void RunDialog(Show show) {
    if (commandRunning || !IspUnit)
        return;
    RunningCommand running;
    rtd::CommandScope scope;
    try {
        show();
    } catch (...) {
    }
}

} // namespace

extern "C" {

RTD_EXPORT char* RTD_STDCALL KXMcuName(char* buffer) {
    return CopyOut(buffer, kMcuName, sizeof kMcuName);
}

RTD_EXPORT TIicInterface* RTD_STDCALL SetIICInterFace(TIicInterface* bus) {
    return Store(bus, &TIspUnit::SetIicInterface);
}

RTD_EXPORT TForm* RTD_STDCALL SetMainFrm(TForm* form) {
    return Store(form, &TIspUnit::SetMainFrm);
}

RTD_EXPORT bool RTD_STDCALL SupportReset() {
    return true;
}

RTD_EXPORT bool RTD_STDCALL SupportErase() {
    return true;
}

RTD_EXPORT bool RTD_STDCALL SupportExtFunc() {
    return true;
}

RTD_EXPORT void RTD_STDCALL About() {
    RunDialog(ShowAboutDialog);
}

RTD_EXPORT void RTD_STDCALL Setup() {
    RunDialog(ShowSetupDialog);
}

RTD_EXPORT bool RTD_STDCALL ExtFunc(AnsiStringPtr argument) {
    const AnsiStringArg held(argument); // unused, but counted while the call lasts
    return RunBusCommand(OnMissingBus::LogOnly, EnterIspCommand);
}

RTD_EXPORT bool RTD_STDCALL Write(AnsiStringPtr path) {
    const AnsiStringArg held(path);
    return RunBusCommand(OnMissingBus::ClearThenLog,
                         [&held] { return WriteFirmware(held.Text()); });
}

RTD_EXPORT bool RTD_STDCALL Erase() {
    return RunBusCommand(OnMissingBus::ClearThenLog, EraseCommand);
}

RTD_EXPORT bool RTD_STDCALL Reset() {
    return RunBusCommand(OnMissingBus::ClearThenLog, ResetCommand);
}

RTD_EXPORT char* RTD_STDCALL ExtFuncName(char* buffer) {
    return CopyOut(buffer, kExtFuncName, sizeof kExtFuncName);
}

RTD_EXPORT TStrings* RTD_STDCALL SetInfoList(TStrings* list) {
    return Store(list, &TIspUnit::SetInfoList);
}

RTD_EXPORT char* RTD_STDCALL SetIspFileExt(char* buffer) {
    return CopyOut(buffer, kFileFilter, sizeof kFileFilter);
}

} // extern "C"
