// The whole of ispgui behind its command line.
#ifndef RTD_HOST_GUI_GUIMAIN_H
#define RTD_HOST_GUI_GUIMAIN_H

#include <string>
#include <vector>

namespace rtd::gui {

// Runs the window until it is closed. 0 after a normal close, 2 on a usage error or when
// the plug-in or the window cannot be set up (with the reason shown).
int RunGui(const std::vector<std::string>& args);

} // namespace rtd::gui

#endif
