// ispgui's programmer: loads the plug-in, fills the main window from what the plug-in
// announces, and runs each command a button asks for through RunChipCommand, with the
// same loader, buses, pre-flight, diagnosis and chip commands as isphost.
#ifndef RTD_HOST_GUI_GUIPROGRAMMER_H
#define RTD_HOST_GUI_GUIPROGRAMMER_H

#include <memory>
#include <string>
#include <vector>

#include "ChipCommands.h"
#include "CommandReport.h"
#include "GuiOptions.h"
#include "GuiSettings.h"
#include "GuiView.h"
#include "HostStrings.h"
#include "PluginLoader.h"
#include "Trace.h"

namespace rtd::gui {

struct CommandButton;

class GuiProgrammer : public GuiEvents {
public:
    explicit GuiProgrammer(GuiOptions options);
    ~GuiProgrammer();
    GuiProgrammer(const GuiProgrammer&) = delete;
    GuiProgrammer& operator=(const GuiProgrammer&) = delete;

    // Loads the plug-in, builds the window and shows it. False, with a one-line reason.
    bool Start(std::string* error);
    // The window's event loop, until it is closed.
    void Run();
    // Remembers file, bus and window position, withdraws the host objects and unloads the
    // plug-in (which saves its own setting). Called by the destructor too.
    void Finish();

    GuiView& View() { return *view_; }
    bool Busy() const { return running_ != nullptr; }
    // Commands the plug-in refused because another one was running: clicks that got past
    // the disabled buttons.
    int Refused() const { return refused_; }
    // The last command's report (banks, bus counts, time) and the host's diagnosis of its
    // failure, which the result strip leaves out.
    const host::CommandReport& LastReport() const { return lastReport_; }
    const std::vector<std::string>& LastDiagnosis() const { return lastDiagnosis_; }
    const std::string& SettingsFile() const { return settingsFile_; }
    const std::string& SimFlashFile() const { return options_.host.simFlash; }

    void Clicked(int control) override;
    void FileDropped(const std::string& path) override;
    void WriteAgainPressed() override;
    void CloseRequested() override;

private:
    void RunCommand(const CommandButton& button);
    // A message line of the running command: a bank's start shows on the strip.
    void ShowBankStarted(const std::string& line);
    void RunRefusedCommand(const host::ChipCommand& command, const host::RunOptions& options);
    std::string ResultDetail(const host::ChipCommand& command, bool started, bool ok,
                             const std::string& hostErrors);
    void ShowBusChoices(const std::string& wanted);
    host::RunOptions CommandOptions();
    void SetBusy(bool busy);
    GuiSettings CurrentSettings();
    // A settings file that cannot be written is said in the result strip.
    void SaveSettings(const GuiSettings& settings);

    GuiOptions options_;
    std::string settingsFile_;
    std::unique_ptr<host::Plugin> plugin_;
    host::Trace trace_;
    std::unique_ptr<GuiView> view_;
    std::unique_ptr<host::HostStrings> lines_;
    std::vector<FilterEntry> filter_;
    std::vector<std::string> busValues_; // as --bus takes them, one per chooser item
    const host::ChipCommand* running_ = nullptr;
    bool closeAfterCommand_ = false;
    int refused_ = 0;
    host::CommandReport lastReport_;
    std::vector<std::string> lastDiagnosis_;
};

} // namespace rtd::gui

#endif
