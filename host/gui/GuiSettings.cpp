#include "GuiSettings.h"

#include <climits>

#include "Platform.h"
#include "Quonunit.h"

namespace rtd::gui {

namespace {
const char kSection[] = "ispgui";
const char kFileKey[] = "File";
const char kBusKey[] = "Bus";
const char kLeftKey[] = "Left";
const char kTopKey[] = "Top";
} // namespace

std::string DefaultGuiSettingsPath() {
    return CurrentPlatform().SettingsFilePath("ispgui.ini");
}

GuiSettings LoadGuiSettings(const std::string& path) {
    TIniFile ini(path);
    GuiSettings settings;
    settings.file = ini.ReadString(kSection, kFileKey, "");
    settings.bus = ini.ReadString(kSection, kBusKey, "");
    // INT_MIN stands for a key that is missing or holds no number.
    const int left = ini.ReadInteger(kSection, kLeftKey, INT_MIN);
    const int top = ini.ReadInteger(kSection, kTopKey, INT_MIN);
    if (left != INT_MIN && top != INT_MIN)
        settings.place = WindowPlace{left, top};
    return settings;
}

bool SaveGuiSettings(const std::string& path, const GuiSettings& settings) {
    TIniFile ini(path);
    bool ok = ini.WriteString(kSection, kFileKey, settings.file);
    ok = ini.WriteString(kSection, kBusKey, settings.bus) && ok;
    if (settings.place) {
        ok = ini.WriteString(kSection, kLeftKey, std::to_string(settings.place->left)) && ok;
        ok = ini.WriteString(kSection, kTopKey, std::to_string(settings.place->top)) && ok;
    }
    return ok;
}

} // namespace rtd::gui
