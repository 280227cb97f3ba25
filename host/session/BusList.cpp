#include "BusList.h"

#include <algorithm>

namespace rtd::host {

std::vector<FoundBuses> FindBuses() {
    std::vector<FoundBuses> all;
    for (const BusKind& kind : BusKinds()) {
        if (!kind.list)
            continue;
        FoundBuses buses{&kind, {}, ""};
        buses.found = kind.list(&buses.note);
        all.push_back(std::move(buses));
    }
    return all;
}

void ListBuses(std::ostream& out) {
    for (const FoundBuses& buses : FindBuses()) {
        out << buses.kind->title << ":\n";
        size_t busWidth = 0, whatWidth = 0;
        for (const BusListing& l : buses.found) {
            busWidth = std::max(busWidth, l.bus.size());
            whatWidth = std::max(whatWidth, l.what.size());
        }
        for (const BusListing& l : buses.found)
            out << "  " << l.bus << std::string(busWidth - l.bus.size() + 2, ' ') << l.what
                << std::string(whatWidth - l.what.size() + 2, ' ') << l.answer << '\n';
        if (!buses.note.empty())
            out << "  " << buses.note << '\n';
    }
}

} // namespace rtd::host
