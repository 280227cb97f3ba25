// Geometry, texts and fonts of the About and Setup dialogs: the one table both window
// back ends build from.
#ifndef RTD_UI_DIALOGLAYOUT_H
#define RTD_UI_DIALOGLAYOUT_H

#include "DialogWindow.h"

namespace rtd::ui {

// Control indexes, in declaration order.
enum AboutControl { kAboutLabel1, kAboutLabel2, kAboutButton1 };
enum SetupControl {
    kSetupCheckBox1,
    kSetupLabel1,
    kSetupLabel2,
    kSetupLabel3,
    kSetupLabel4,
    kSetupButton1
};

const WindowLayout& AboutLayout();
const WindowLayout& SetupLayout();

} // namespace rtd::ui

#endif
