#include "host/HostMain.h"

#include <memory>

#include "host/ConsoleStrings.h"
#include "host/Help.h"
#include "host/HostBus.h"
#include "host/HostForm.h"
#include "host/ImageTools.h"
#include "host/Options.h"
#include "host/PluginLoader.h"
#include "host/Trace.h"
#include "host/TracingBus.h"
#include "ui/Quonunit.h"

namespace rtd::host {

namespace {

int UsageError(std::ostream& err, const std::string& reason) {
    err << "isphost: " << reason << '\n';
    return kExitUsage;
}

int RunImageTool(const Options& o, std::ostream& out, std::ostream& err) {
    // The tools decide as the plug-in would, so they read its setting from the same file.
    const bool autoFireSecond = LoadAutoFireSecond();
    const std::vector<std::string>& a = o.arguments;
    if (o.command == "image info")
        return ImageInfo(a[0], autoFireSecond, out, err);
    if (o.command == "image convert")
        return ImageConvert(a[0], a[1], autoFireSecond, err);
    return ImagePack(a[0], a[1], autoFireSecond, err);
}

void PrintInfo(const PluginExports& e, std::ostream& out) {
    // Generous buffers: the plug-in is not told their size.
    char name[256] = {}, extName[256] = {}, filter[256] = {};
    e.KXMcuName(name);
    e.ExtFuncName(extName);
    e.SetIspFileExt(filter);
    const auto yesNo = [](bool b) { return b ? "yes" : "no"; };
    out << "MCU:                " << name << '\n';
    out << "Extra function:     " << extName << '\n';
    out << "File filter:        " << filter << '\n';
    out << "Supports reset:     " << yesNo(e.SupportReset()) << '\n';
    out << "Supports erase:     " << yesNo(e.SupportErase()) << '\n';
    out << "Supports extra:     " << yesNo(e.SupportExtFunc()) << '\n';
}

bool NeedsBus(const std::string& command) {
    return command == "write" || command == "erase" || command == "reset" || command == "enter-isp";
}

bool CallWithString(StringCommandFn fn, const std::string& text) {
    AnsiStringPtr s = AnsiStringNew(text.c_str());
    const bool ok = fn(s);
    AnsiStringRelease(s);
    return ok;
}

// Runs the command through the exports; the host objects outlive every call that can
// reach them.
bool RunCommand(const Options& o, const PluginExports& e) {
    if (o.command == "write")
        return CallWithString(e.Write, o.arguments[0]);
    if (o.command == "erase")
        return e.Erase();
    if (o.command == "reset")
        return e.Reset();
    if (o.command == "enter-isp")
        return CallWithString(e.ExtFunc, "");
    if (o.command == "about")
        e.About();
    else
        e.Setup();
    return true;
}

int RunPluginCommand(const Options& o, std::ostream& out, std::ostream& err, bool terminal) {
    Console console(out, err,
                    o.quiet    ? Console::Mode::Quiet
                    : terminal ? Console::Mode::Terminal
                               : Console::Mode::Plain);
    std::string error;
    Trace trace;
    if (!o.trace.empty() && !trace.Open(o.trace, &error))
        return UsageError(err, error);

    std::unique_ptr<HostBus> bus;
    if (NeedsBus(o.command)) {
        bus = CreateHostBus(o, &console, &error);
        if (!bus)
            return UsageError(err, error);
    }

    const std::string path = o.plugin.empty() ? DefaultPluginPath(ExecutablePath()) : o.plugin;
    std::unique_ptr<Plugin> plugin = Plugin::Load(path, &error);
    if (!plugin)
        return UsageError(err, error);
    const PluginExports& e = plugin->Exports();
    if (o.command == "info") {
        PrintInfo(e, out);
        return kExitOk;
    }

    std::unique_ptr<HostForm> form = CreateHostForm(&console, &trace, &error);
    if (!form)
        return UsageError(err, error);
    ConsoleStrings strings(&console, &trace);
    std::unique_ptr<TracingBus> tracing;
    if (bus)
        tracing = std::make_unique<TracingBus>(bus->Bus(), &trace);

    e.SetMainFrm(form.get());
    e.SetInfoList(&strings);
    e.SetIICInterFace(tracing.get());
    const bool ok = RunCommand(o, e);
    e.SetIICInterFace(nullptr);
    e.SetInfoList(nullptr);
    e.SetMainFrm(nullptr);
    console.Finish();
    plugin.reset(); // unloading makes the plug-in save its setting

    int status = ok ? kExitOk : kExitFailed;
    if (bus && !bus->Finish(&console))
        status = kExitFailed;
    if (!trace.Close()) {
        console.Error("cannot write the trace file " + o.trace);
        status = kExitFailed;
    }
    if (o.command != "about" && o.command != "setup")
        console.Result(o.command + (ok ? ": OK" : ": FAILED"));
    return status;
}

} // namespace

int RunHost(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool terminal) {
    Options o;
    std::string error;
    if (!ParseOptions(args, &o, &error))
        return UsageError(err, error);
    if (o.help) {
        out << HelpText();
        return kExitOk;
    }
    if (o.version) {
        out << VersionText() << '\n';
        return kExitOk;
    }
    if (!o.autoFireSecond.empty() && !SaveAutoFireSecond(o.autoFireSecond == "on"))
        return UsageError(err, "cannot write the setting to " + SettingsFilePath());
    if (o.command.rfind("image ", 0) == 0)
        return RunImageTool(o, out, err);
    return RunPluginCommand(o, out, err, terminal);
}

} // namespace rtd::host
