#include "GuiProgrammer.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "BusList.h"
#include "ChipRun.h"
#include "ExitStatus.h"
#include "GuiResult.h"
#include "Platform.h"
#include "Quonunit.h"

namespace rtd::gui {

// A button that runs one of the host's commands; shown when the plug-in supports it.
struct CommandButton {
    int control;
    const char* command; // the row of the host's chip commands
    SupportFn host::PluginExports::*support;
};

namespace {

// Controls that start something or change what the next command does: disabled while a
// command runs.
const int kInputs[] = {kFileEdit,    kBrowseButton, kBusChoice,     kWriteButton, kVerifyButton,
                       kEraseButton, kResetButton,  kExtFuncButton, kSetupButton, kAboutButton};

std::string Folder(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// clang-format off
const CommandButton kCommandButtons[] = {
    // control       command      shown when
    {kWriteButton,   "write",     nullptr},
    {kVerifyButton,  "verify",    nullptr},
    {kEraseButton,   "erase",     &host::PluginExports::SupportErase},
    {kResetButton,   "reset",     &host::PluginExports::SupportReset},
    {kExtFuncButton, "enter-isp", &host::PluginExports::SupportExtFunc},
    {kSetupButton,   "setup",     nullptr},
    {kAboutButton,   "about",     nullptr},
};
// clang-format on

// What a command reports while it runs: its lines and progress reach the window through
// the plug-in's host objects; the host's own errors are kept for the result strip. The
// diagnosis of a failure is kept too, but the strip shows the plug-in's last line.
class GuiRunOutput : public host::RunOutput {
public:
    void Error(const std::string& text) override { errors_.push_back(text); }
    void Explain(const std::string& text) override { explained_.push_back(text); }
    void Line(const std::string&) override {}
    void Progress(int) override {}
    void Note(const std::string&, bool) override {}
    void Finish() override {}
    const std::string& FirstError() const override {
        static const std::string none;
        return errors_.empty() ? none : errors_.front();
    }
    const std::vector<std::string>& Explained() const { return explained_; }
    // The errors one "; " apart.
    std::string Errors() const {
        std::string joined;
        for (const std::string& e : errors_)
            joined += (joined.empty() ? "" : "; ") + e;
        return joined;
    }

private:
    std::vector<std::string> errors_;
    std::vector<std::string> explained_;
};

const CommandButton* ButtonFor(int control) {
    for (const CommandButton& button : kCommandButtons)
        if (button.control == control)
            return &button;
    return nullptr;
}

} // namespace

GuiProgrammer::GuiProgrammer(GuiOptions options) : options_(std::move(options)) {
    settingsFile_ =
        options_.settingsFile.empty() ? DefaultGuiSettingsPath() : options_.settingsFile;
    // The chip model keeps its flash where the platform keeps data (the user's data folder
    // for an installed ispgui), or beside a settings file named on the command line, so
    // the demo runs anywhere.
    if (options_.host.simFlash.empty())
        options_.host.simFlash = options_.settingsFile.empty()
                                     ? CurrentPlatform().DataFilePath("sim-flash.bin")
                                     : Folder(settingsFile_) + "sim-flash.bin";
}

GuiProgrammer::~GuiProgrammer() {
    Finish();
}

bool GuiProgrammer::Start(std::string* error) {
    const host::RunOptions& o = options_.host;
    if (!options_.autoFireSecond.empty() && !SaveAutoFireSecond(options_.autoFireSecond == "on")) {
        *error = "cannot write the setting to " + SettingsFilePath();
        return false;
    }
    if (!o.trace.empty() && !trace_.Open(o.trace, error))
        return false;
    const std::string path =
        o.plugin.empty() ? host::DefaultPluginPath(host::ExecutablePath()) : o.plugin;
    plugin_ = host::Plugin::Load(path, error);
    if (!plugin_)
        return false;
    const host::PluginExports& e = plugin_->Exports();

    // Generous buffers: the plug-in is not told their size.
    char name[256] = {}, extName[256] = {}, filter[256] = {};
    e.KXMcuName(name);
    e.ExtFuncName(extName);
    e.SetIspFileExt(filter);
    filter_ = ParseFileFilter(filter);
    view_ = GuiView::Create(MainWindowLayout(), std::string(name) + " programmer", this, &trace_,
                            error);
    if (!view_)
        return false;
    view_->SetText(kExtFuncButton, extName);
    for (const CommandButton& button : kCommandButtons)
        view_->SetShown(button.control, !button.support || (e.*button.support)());

    const GuiSettings settings = LoadGuiSettings(settingsFile_);
    view_->SetText(kFileEdit, options_.file.empty() ? settings.file : options_.file);
    ShowBusChoices(options_.busGiven ? o.bus : settings.bus);
    view_->SetProgress(0);
    view_->SetResult(ResultTone::Neutral, "");
    CurrentPlatform().MakeFolderFor(options_.host.simFlash);
    // Storing what was read tells now, not silently at the close, that nothing will be kept.
    SaveSettings(settings);

    GuiView* view = view_.get();
    lines_ = std::make_unique<host::HostStrings>(
        host::LinesDisplay{[this, view](const std::string& line) {
                               view->AddLine(line);
                               ShowBankStarted(line);
                           },
                           [view] { view->ClearLines(); }},
        &trace_);
    e.SetMainFrm(view_->Form());
    e.SetInfoList(lines_.get());
    view_->Show(settings.place ? &*settings.place : nullptr);
    return true;
}

void GuiProgrammer::ShowBankStarted(const std::string& line) {
    // The write announces each bank before erasing or programming it; the bar starts
    // over for each.
    const int bank = BankStarted(line);
    if (!running_ || bank < 0)
        return;
    view_->SetProgress(0);
    view_->SetResult(ResultTone::Neutral, "Writing bank " + std::to_string(bank) + "...");
    view_->Flush();
}

void GuiProgrammer::Run() {
    if (view_)
        view_->Run();
}

void GuiProgrammer::Finish() {
    if (!plugin_)
        return;
    if (view_)
        SaveGuiSettings(settingsFile_, CurrentSettings()); // the window is going: nowhere to say
    const host::PluginExports& e = plugin_->Exports();
    e.SetIICInterFace(nullptr);
    e.SetInfoList(nullptr);
    e.SetMainFrm(nullptr);
    plugin_.reset(); // unloading makes the plug-in save its setting
    trace_.Close();
}

void GuiProgrammer::ShowBusChoices(const std::string& wanted) {
    // The chip model first, then what `isphost buses` finds attached.
    busValues_ = {"sim"};
    std::vector<std::string> items = {"sim: the chip model, flash kept in " +
                                      options_.host.simFlash};
    for (const host::FoundBuses& buses : host::FindBuses()) {
        for (const host::BusListing& l : buses.found) {
            busValues_.push_back(l.bus);
            items.push_back(l.bus + ": " + l.what + (l.answer.empty() ? "" : ", " + l.answer));
        }
    }
    // A bus asked for that is not attached now (or a model) is still offered: its command
    // then fails with the reason.
    auto chosen = std::find(busValues_.begin(), busValues_.end(), wanted.empty() ? "sim" : wanted);
    if (chosen == busValues_.end()) {
        busValues_.push_back(wanted);
        items.push_back(wanted);
        chosen = busValues_.end() - 1;
    }
    view_->SetChoices(items, static_cast<int>(chosen - busValues_.begin()));
}

host::RunOptions GuiProgrammer::CommandOptions() {
    host::RunOptions o = options_.host;
    const int chosen = view_->Chosen();
    if (chosen >= 0 && chosen < static_cast<int>(busValues_.size()))
        o.bus = busValues_[static_cast<size_t>(chosen)];
    o.arguments = {view_->Text(kFileEdit)};
    return o;
}

void GuiProgrammer::SaveSettings(const GuiSettings& settings) {
    if (!SaveGuiSettings(settingsFile_, settings))
        view_->SetResult(ResultTone::Failed, "cannot save ispgui's settings to " + settingsFile_);
}

GuiSettings GuiProgrammer::CurrentSettings() {
    GuiSettings settings;
    // Kept absolute, so that a start from another folder finds the same file.
    settings.file = view_->Text(kFileEdit);
    std::error_code failed;
    if (!settings.file.empty()) {
        const std::filesystem::path absolute = std::filesystem::absolute(settings.file, failed);
        if (!failed)
            settings.file = absolute.string();
    }
    const int chosen = view_->Chosen();
    if (chosen >= 0 && chosen < static_cast<int>(busValues_.size()))
        settings.bus = busValues_[static_cast<size_t>(chosen)];
    settings.place = view_->Place();
    return settings;
}

void GuiProgrammer::SetBusy(bool busy) {
    for (int control : kInputs)
        view_->SetEnabled(control, !busy);
}

void GuiProgrammer::Clicked(int control) {
    if (control == kBrowseButton) {
        const std::string chosen = view_->ChooseFile(filter_, view_->Text(kFileEdit));
        if (!chosen.empty())
            view_->SetText(kFileEdit, chosen);
        return;
    }
    if (const CommandButton* button = ButtonFor(control))
        RunCommand(*button);
}

void GuiProgrammer::FileDropped(const std::string& path) {
    if (!Busy())
        view_->SetText(kFileEdit, path);
}

void GuiProgrammer::WriteAgainPressed() {
    const GuiReading reading = view_->Read();
    const GuiControlReading& write = reading.controls[kWriteButton];
    if (write.shown && write.enabled)
        RunCommand(*ButtonFor(kWriteButton));
}

void GuiProgrammer::CloseRequested() {
    // Never unload the plug-in under a running command: close once it has returned.
    if (Busy())
        closeAfterCommand_ = true;
    else
        view_->Close();
}

void GuiProgrammer::RunRefusedCommand(const host::ChipCommand& command,
                                      const host::RunOptions& options) {
    // The plug-in refuses a command started inside another one's message processing; the
    // running command keeps its objects, its lines and its result.
    std::ostringstream ignored;
    if (command.callExport &&
        !command.callExport(plugin_->Exports(), options.arguments[0], ignored))
        ++refused_;
}

// The strip's detail: why the command could not start, the banks and CRC-8s of a write,
// or the line a failure ended with; then what the host itself had to report.
std::string GuiProgrammer::ResultDetail(const host::ChipCommand& command, bool started, bool ok,
                                        const std::string& hostErrors) {
    const std::vector<std::string>& lines = lines_->Lines();
    std::string detail;
    if (!started)
        return hostErrors;
    if (ok && command.Has(host::kProgramsFile))
        detail = BankSummary(view_->Text(kFileEdit), BanksWritten(lines));
    else if (!ok && !lines.empty())
        detail = lines.back();
    if (!hostErrors.empty())
        detail += (detail.empty() ? "" : " | ") + hostErrors;
    return detail;
}

void GuiProgrammer::RunCommand(const CommandButton& button) {
    const host::ChipCommand& command = *host::FindChipCommand(button.command);
    const host::RunOptions o = CommandOptions();
    if (running_) {
        RunRefusedCommand(command, o);
        return;
    }
    const std::string caption = view_->Text(button.control);
    if (command.Has(host::kErasesChip) && !command.Has(host::kTakesFile) && !options_.noConfirm &&
        !view_->Confirm(caption, "Erase the whole chip? Its firmware is lost."))
        return;
    running_ = &command;
    SetBusy(true);
    // The plug-in leaves About where the window system puts it: centred here, from inside
    // the dialog's modal loop, as Setup is.
    if (button.control == kAboutButton) {
        GuiView* view = view_.get();
        view_->After(0, [view] { view->CentreOwnedWindows(); });
    }
    if (command.Has(host::kReportsResult)) {
        // Nothing of the last command stays on show while this one starts.
        view_->SetProgress(0);
        view_->SetProgressTone(ResultTone::Neutral);
        view_->SetResult(ResultTone::Neutral, caption + "...");
        view_->Flush();
    }

    // The host's own reports (a bus that cannot be opened, a flash file that cannot be
    // saved) go to the result strip, one "; " apart.
    std::ostringstream out;
    GuiRunOutput output;
    const host::ResidentPlugin resident{&plugin_->Exports(), lines_.get()};
    host::ChipSession session;
    session.trace = &trace_;
    session.plugin = &resident;
    host::CommandReport report;
    const int status = host::RunChipCommand(command, o, out, output, &report, session);
    const bool started = status != host::kExitUsage;
    const bool ok = status == host::kExitOk;
    lastReport_ = report;
    // The diagnosis ends with what the chip holds now, in isphost's words.
    lastDiagnosis_ = output.Explained();

    const ResultTone tone = ok ? ResultTone::Ok : ResultTone::Failed;
    if (command.Has(host::kReportsResult)) {
        view_->SetProgressTone(tone);
        view_->SetResult(tone,
                         StripText(ResultText(ok, caption, report.seconds,
                                              ResultDetail(command, started, ok, output.Errors())),
                                   lastDiagnosis_));
    }
    // Closed during the command: the window goes, so its result goes to the terminal.
    if (closeAfterCommand_ && command.Has(host::kReportsResult))
        std::cerr << command.name << (ok ? ": OK" : ": FAILED") << std::endl;
    running_ = nullptr;
    SetBusy(false);
    // Disabling the focused button took the focus away; the next board is one key away.
    view_->Focus(button.control);
    if (!ok && !command.Has(host::kReportsResult) && !output.Errors().empty())
        view_->SetResult(ResultTone::Failed, output.Errors()); // a setting that was not saved
    SaveSettings(CurrentSettings());
    if (closeAfterCommand_)
        view_->Close();
}

} // namespace rtd::gui
