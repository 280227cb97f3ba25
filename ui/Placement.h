// Where a dialog goes so that it is centred over the host's main form.
#ifndef RTD_UI_PLACEMENT_H
#define RTD_UI_PLACEMENT_H

namespace rtd::ui {

struct ScreenRect {
    int left, top, width, height; // outer rectangle, screen pixels
};

struct ScreenPoint {
    int left, top;
};

// Halves the size differences, truncating toward zero (a dialog wider than the form
// gets a left edge left of the form's).
ScreenPoint CentredOver(const ScreenRect& owner, int dialogWidth, int dialogHeight);

} // namespace rtd::ui

#endif
