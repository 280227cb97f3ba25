#include "TerminalColumns.h"

#include <cstdlib>

namespace rtd::host {

int TerminalColumns() {
    if (const int columns = SystemColumns(); columns > 0)
        return columns;
    const char* text = std::getenv("COLUMNS");
    char* end = nullptr;
    const long columns = text ? std::strtol(text, &end, 10) : 0;
    return text && *end == '\0' && columns > 0 && columns < 10000 ? static_cast<int>(columns) : 80;
}

} // namespace rtd::host
