// Screenshots for the documentation: with RTD_SCREENSHOT_DIR set, a test that shows a
// window leaves a marker file with the window's rectangle and waits until the capture
// script (tests/ui/capture-screenshots.sh) has taken the picture and deleted the marker.
#ifndef RTD_TESTS_SUPPORT_SCREENSHOT_H
#define RTD_TESTS_SUPPORT_SCREENSHOT_H

#include <string>

namespace rtd::test {

// Does nothing without RTD_SCREENSHOT_DIR (or with an empty name); waits at most 30 s.
void PauseForScreenshot(const std::string& name, int left, int top, int width, int height);

} // namespace rtd::test

#endif
