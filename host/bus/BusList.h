// `isphost buses`: every attached adapter of every kind in the bus table, each with
// whether a chip answers at 0x4A. Runs with no adapter attached and no driver installed.
#ifndef RTD_HOST_BUS_BUSLIST_H
#define RTD_HOST_BUS_BUSLIST_H

#include <ostream>

namespace rtd::host {

void ListBuses(std::ostream& out);

} // namespace rtd::host

#endif
