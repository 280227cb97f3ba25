// A system with neither hidraw nor the Windows HID API: only the model.
#include "Mcp2221Ports.h"

namespace rtd::host::mcp2221 {

namespace {

class NoPorts : public Mcp2221Ports {
public:
    std::vector<HidPort> List(std::string* note) override {
        *note = kMissing;
        return {};
    }
    std::unique_ptr<ByteLink> Open(const HidPort&, std::string* error) override {
        *error = kMissing;
        return nullptr;
    }

private:
    static constexpr const char* kMissing =
        "this system has no MCP2221A transport (hidraw or Windows HID); --bus mcp2221:model "
        "still works";
};

} // namespace

Mcp2221Ports& SystemPorts() {
    static NoPorts ports;
    return ports;
}

} // namespace rtd::host::mcp2221
