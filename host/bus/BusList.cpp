#include "bus/BusList.h"

#include <algorithm>

#include "bus/BusTable.h"

namespace rtd::host {

void ListBuses(std::ostream& out) {
    for (const BusKind& kind : BusKinds()) {
        if (!kind.list)
            continue;
        std::string note;
        const std::vector<BusListing> found = kind.list(&note);
        out << kind.title << ":\n";
        size_t busWidth = 0, whatWidth = 0;
        for (const BusListing& l : found) {
            busWidth = std::max(busWidth, l.bus.size());
            whatWidth = std::max(whatWidth, l.what.size());
        }
        for (const BusListing& l : found)
            out << "  " << l.bus << std::string(busWidth - l.bus.size() + 2, ' ') << l.what
                << std::string(whatWidth - l.what.size() + 2, ' ') << l.answer << '\n';
        if (!note.empty())
            out << "  " << note << '\n';
    }
}

} // namespace rtd::host
