#include "HostForm.h"

namespace rtd::host {

void HostForm::DeliverProgress(int percent) {
    ++delivered_;
    trace_->Event("P " + std::to_string(percent));
    if (display_)
        display_(percent);
}

} // namespace rtd::host
