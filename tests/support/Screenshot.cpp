#include "Screenshot.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace rtd::test {

void PauseForScreenshot(const std::string& name, int left, int top, int width, int height) {
    const char* folder = std::getenv("RTD_SCREENSHOT_DIR");
    if (!folder || name.empty())
        return;
    const std::string marker = std::string(folder) + "/" + name + ".ready";
    std::ofstream(marker) << left << ' ' << top << ' ' << width << ' ' << height << '\n';
    for (int i = 0; i < 300 && std::ifstream(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace rtd::test
