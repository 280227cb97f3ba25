#include "DisplayCheck.h"

namespace rtd::host {

std::string NoDisplayReason() {
    return ""; // every Windows session has a desktop to show a dialog on
}

} // namespace rtd::host
