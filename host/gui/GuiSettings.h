// What ispgui remembers between runs: the last firmware file, the bus and the window's
// position, in a small ini file ("ispgui.ini", placed as the plug-in's settings file),
// through the same profile functions the plug-in's setting uses.
#ifndef RTD_HOST_GUI_GUISETTINGS_H
#define RTD_HOST_GUI_GUISETTINGS_H

#include <optional>
#include <string>

#include "GuiLayout.h"

namespace rtd::gui {

struct GuiSettings {
    std::string file;
    std::string bus;                  // as --bus takes it; empty: the default
    std::optional<WindowPlace> place; // none: where the window system puts a new window
};

// "ispgui.ini" where the platform keeps settings files (Platform::SettingsFilePath).
std::string DefaultGuiSettingsPath();
// A missing file, section or key leaves that setting unset; a position needs both edges.
GuiSettings LoadGuiSettings(const std::string& path);
// False when the file cannot be written.
bool SaveGuiSettings(const std::string& path, const GuiSettings& settings);

} // namespace rtd::gui

#endif
