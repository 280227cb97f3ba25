// ispgui's programmer: loads the plug-in, fills the main window from what the plug-in
// announces, and runs each command a button asks for through the plug-in's exports, with
// the same loader, buses and command table as isphost.
#ifndef RTD_HOST_GUI_GUIPROGRAMMER_H
#define RTD_HOST_GUI_GUIPROGRAMMER_H

#include <memory>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "GuiOptions.h"
#include "GuiSettings.h"
#include "GuiView.h"
#include "HostStrings.h"
#include "PluginLoader.h"
#include "Trace.h"
#include "bus/HostBus.h"

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
    const std::string& SettingsFile() const { return settingsFile_; }
    const std::string& SimFlashFile() const { return options_.host.simFlash; }

    void Clicked(int control) override;
    void FileDropped(const std::string& path) override;
    void WriteAgainPressed() override;
    void CloseRequested() override;

private:
    void RunCommand(const CommandButton& button);
    void RunRefusedCommand(const host::HostCommand& command, const host::Options& options);
    // The checks a command that erases the chip needs before the export is called. False,
    // with a one-line reason, when the bus is not fit for it.
    bool PassesPreflight(const host::HostCommand& command, host::HostBus& bus, std::string* reason);
    std::string ResultDetail(const host::HostCommand& command, bool started, bool ok,
                             const std::string& hostErrors);
    void ShowBusChoices(const std::string& wanted);
    host::Options CommandOptions();
    void SetBusy(bool busy);
    GuiSettings CurrentSettings();

    GuiOptions options_;
    std::string settingsFile_;
    std::unique_ptr<host::Plugin> plugin_;
    host::Trace trace_;
    std::unique_ptr<GuiView> view_;
    std::unique_ptr<host::HostStrings> lines_;
    std::vector<FilterEntry> filter_;
    std::vector<std::string> busValues_; // as --bus takes them, one per chooser item
    const host::HostCommand* running_ = nullptr;
    bool closeAfterCommand_ = false;
    int refused_ = 0;
};

} // namespace rtd::gui

#endif
