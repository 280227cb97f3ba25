#include "GuiMain.h"

#include "GuiProgrammer.h"
#include "GuiView.h"

namespace rtd::gui {

int RunGui(const std::vector<std::string>& args) {
    GuiOptions options;
    std::string error;
    if (!ParseGuiOptions(args, &options, &error)) {
        ShowStartupMessage("ispgui: " + error, true);
        return 2;
    }
    if (options.help || options.version) {
        ShowStartupMessage(options.help ? GuiHelpText() : GuiVersionText(), false);
        return 0;
    }
    GuiProgrammer programmer(options);
    if (!programmer.Start(&error)) {
        ShowStartupMessage("ispgui: " + error, true);
        return 2;
    }
    programmer.Run();
    programmer.Finish();
    return 0;
}

} // namespace rtd::gui
