#include "ui/DialogLayout.h"

namespace rtd::ui {
namespace {

const FontSpec kSansSerif8{"MS Sans Serif", 11, false, kWindowTextColour};
const FontSpec kSansSerif10{"MS Sans Serif", 13, false, kWindowTextColour};
const FontSpec kCourier11{"Courier New", 15, false, kWindowTextColour};
const FontSpec kCourierBlue{"Courier New", 13, false, kBlueColour};

} // namespace

const DialogSpec& AboutLayout() {
    static const DialogSpec layout{
        "About...",
        377,
        121,
        kSansSerif8,
        true,
        {
            {"Label1",
             ControlKind::Label,
             98,
             18,
             181,
             22,
             "RTD2120 ISP Plug-in V1.0",
             {"MS Reference Sans Serif", 19, true, kWindowTextColour},
             -1},
            {"Label2",
             ControlKind::Label,
             116,
             50,
             141,
             16,
             "Firmware tools team",
             {"MS Sans Serif", 13, false, kBlueColour},
             -1},
            {"Button1", ControlKind::Button, 124, 79, 129, 25, "Close", kSansSerif10, 0},
        }};
    return layout;
}

const DialogSpec& SetupLayout() {
    static const DialogSpec layout{
        "RTD2120 Setup",
        328,
        166,
        kCourier11,
        false,
        {
            {"CheckBox1", ControlKind::CheckBox, 54, 16, 217, 17, "Auto fire second bank",
             kCourier11, 0},
            {"Label1", ControlKind::Label, 72, 41, 184, 16, "1.<FileName>_Extend.bin", kCourierBlue,
             -1},
            {"Label2", ControlKind::Label, 72, 60, 184, 16, "2.<FileName>_Extend.hex", kCourierBlue,
             -1},
            {"Label3", ControlKind::Label, 72, 79, 168, 16, "3.DEROredovOrovav.bin", kCourierBlue,
             -1},
            {"Label4", ControlKind::Label, 72, 99, 168, 16, "4.DEROredovOrovav.hex", kCourierBlue,
             -1},
            {"Button1", ControlKind::Button, 69, 123, 177, 33, "OK", kCourier11, 1},
        }};
    return layout;
}

} // namespace rtd::ui
