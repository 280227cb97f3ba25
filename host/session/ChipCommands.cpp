#include "ChipCommands.h"

#include "PluginLoader.h"
#include "Quonunit.h"

namespace rtd::host {

namespace {

bool CallWithString(StringCommandFn fn, const std::string& text) {
    AnsiStringPtr s = AnsiStringNew(text.c_str());
    const bool ok = fn(s);
    AnsiStringRelease(s);
    return ok;
}

bool PrintInfo(const PluginExports& e, const std::string&, std::ostream& out) {
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
    out << "Auto-fire second:   " << (LoadAutoFireSecond() ? "on" : "off") << " (from "
        << SettingsFilePath() << ")\n";
    return true;
}

bool CallWrite(const PluginExports& e, const std::string& file, std::ostream&) {
    return CallWithString(e.Write, file);
}
bool CallErase(const PluginExports& e, const std::string&, std::ostream&) {
    return e.Erase();
}
bool CallReset(const PluginExports& e, const std::string&, std::ostream&) {
    return e.Reset();
}
bool CallExtFunc(const PluginExports& e, const std::string&, std::ostream&) {
    return CallWithString(e.ExtFunc, "");
}
bool CallAbout(const PluginExports& e, const std::string&, std::ostream&) {
    e.About();
    return true;
}
bool CallSetup(const PluginExports& e, const std::string&, std::ostream&) {
    e.Setup();
    return true;
}

} // namespace

const std::vector<ChipCommand>& ChipCommands() {
    // clang-format off
    static const std::vector<ChipCommand> commands = {
        {"info",      0,                                                  PrintInfo},
        {"write",     kNeedsBus | kProgramsFile | kReportsResult,         CallWrite},
        {"verify",    kNeedsBus | kTakesFile | kHostSide | kReportsResult, nullptr},
        {"erase",     kNeedsBus | kErasesChip | kReportsResult,           CallErase},
        {"reset",     kNeedsBus | kReportsResult,                         CallReset},
        {"enter-isp", kNeedsBus | kReportsResult,                         CallExtFunc},
        {"about",     0,                                                  CallAbout},
        {"setup",     kChangesSetting,                                    CallSetup},
    };
    // clang-format on
    return commands;
}

const ChipCommand* FindChipCommand(const std::string& name) {
    return FindCommandRow(ChipCommands(), name);
}

} // namespace rtd::host
