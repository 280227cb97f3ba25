// `isphost buses` and ispgui's bus chooser: every attached adapter of every kind in the
// bus table, each with whether a chip answers at 0x4A. Runs with no adapter attached and
// no driver installed.
#ifndef RTD_HOST_SESSION_BUSLIST_H
#define RTD_HOST_SESSION_BUSLIST_H

#include <ostream>
#include <string>
#include <vector>

#include "BusTable.h"

namespace rtd::host {

// What one kind of bus found.
struct FoundBuses {
    const BusKind* kind;
    std::vector<BusListing> found;
    std::string note; // an empty list's or a missing driver's line, or empty
};

// Every kind that can list its devices, in the table's order.
std::vector<FoundBuses> FindBuses();

// FindBuses() as `isphost buses` prints it.
void ListBuses(std::ostream& out);

} // namespace rtd::host

#endif
