// --bus mcp2221[:N] and mcp2221:model, and the MCP2221A part of `isphost buses`.
//   mcp2221, mcp2221:N   the N-th MCP2221A (from 0): hidraw on Linux, the HID API on Windows
//   mcp2221:model        the encoder's reports decoded by the adapter model, into the chip
//                        model
#ifndef RTD_HOST_ADAPTERS_MCP2221_MCP2221BUS_H
#define RTD_HOST_ADAPTERS_MCP2221_MCP2221BUS_H

#include <memory>
#include <string>

#include "BusKind.h"
#include "Mcp2221Ports.h"

namespace rtd::host::mcp2221 {

// The MCP2221A's row of the bus table.
const BusKind& Mcp2221BusKind();

// The index-th device of `ports` as a bus at `khz`, its reports traced.
std::unique_ptr<HostBus> OpenMcp2221Device(Mcp2221Ports& ports, int index, int khz, Trace* trace,
                                           std::string* error);
// Every device of `ports`, each probed.
std::vector<BusListing> ListMcp2221Devices(Mcp2221Ports& ports, std::string* note);

} // namespace rtd::host::mcp2221

#endif
