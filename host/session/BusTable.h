// Every kind of bus `--bus` can name, one row each, from the adapters' own rows. The
// command lines, `isphost --help`, `isphost buses` and the bus set-up all read this table.
#ifndef RTD_HOST_SESSION_BUSTABLE_H
#define RTD_HOST_SESSION_BUSTABLE_H

#include <memory>
#include <string>
#include <vector>

#include "BusKind.h"

namespace rtd::host {

const std::vector<BusKind>& BusKinds();
// The row that claims `bus`, or null.
const BusKind* FindBusKind(const std::string& bus);

// The bus exists in the table, its device part is understood and `speedText` (when not
// empty) is a speed the adapter can set; fills busSpeedKhz. False, with a one-line reason.
bool CheckBus(BusOptions* options, const std::string& speedText, std::string* error);

// Null, with a one-line reason, when the bus cannot be set up (bad fault, unreadable flash
// file, adapter or driver missing).
std::unique_ptr<HostBus> CreateHostBus(const BusOptions& options, Trace* trace, std::string* error);

} // namespace rtd::host

#endif
