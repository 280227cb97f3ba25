#include "Placement.h"

namespace rtd::ui {

ScreenPoint CentredOver(const ScreenRect& owner, int dialogWidth, int dialogHeight) {
    // Integer division in C++ truncates toward zero: -5 / 2 is -2.
    return {(owner.width - dialogWidth) / 2 + owner.left,
            (owner.height - dialogHeight) / 2 + owner.top};
}

} // namespace rtd::ui
