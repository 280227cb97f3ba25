// The process's other top-level windows (the plug-in's dialogs, which the GUI opens through
// the exports), found and driven through the window system as a person would.
#ifndef RTD_TESTS_GUI_TOPWINDOWS_H
#define RTD_TESTS_GUI_TOPWINDOWS_H

#include <cstdint>
#include <string>

namespace rtd::test {

struct TopWindow {
    bool found = false;
    int left = 0, top = 0, outerWidth = 0, outerHeight = 0;
    uintptr_t owner = 0; // the window it is owned by (transient for), 0: none
};

// The shown top-level window captioned `caption`.
TopWindow FindTopWindow(const std::string& caption);
// Clicks the control captioned `text` in that window; false when there is none.
bool ClickInTopWindow(const std::string& caption, const std::string& text);
// Whether the check box captioned `text` in that window is checked.
bool CheckedInTopWindow(const std::string& caption, const std::string& text);

} // namespace rtd::test

#endif
