// ispgui: the window host for the RTD2120 plug-in.
#include <string>
#include <vector>

#include "GuiMain.h"

int main(int argc, char** argv) {
    return rtd::gui::RunGui(std::vector<std::string>(argv + 1, argv + argc));
}
