// The MCP2221A in a dry run: a report link that decodes each 64-byte output report, plays
// the transfers into an I2cWireModel and answers as the chip does. Write reports are
// answered "taken" whatever the bus did; a missing acknowledge shows in the status
// answer (state 25 for the address, bit 6 of byte 20) and stays until a cancel, and so
// does a refusal of new speeds. Reports of the wrong size, unknown commands and a write
// report that does not continue the one before are counted and not answered.
//   engine-busy=T   the engine answers "busy" to every request of transaction T (counted
//                   from 1) until it is cancelled
#ifndef RTD_HOST_ADAPTERS_MCP2221_MCP2221MODEL_H
#define RTD_HOST_ADAPTERS_MCP2221_MCP2221MODEL_H

#include <deque>
#include <string>

#include "ByteLink.h"
#include "I2cWireModel.h"
#include "Faults.h"
#include "Mcp2221Encoder.h"

namespace rtd::host::mcp2221 {

// The faults of the MCP2221A model alone, as --help lists them.
const std::vector<sim::FaultForm>& Mcp2221FaultForms();

class Mcp2221Model : public ByteLink {
public:
    explicit Mcp2221Model(I2cWireModel* wire) : wire_(wire) {}

    static bool Knows(const std::string& fault);
    bool AddFault(const std::string& fault, std::string* error);

    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    // Fails, as the device's read times out, when no answer is waiting.
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

    int SpeedKhz() const { return DividerKhz(divider_); }
    int BadReports() const { return badReports_; }

private:
    Report Answer(const Report& request);
    Report Status(const Report& request);
    Report Write(const Report& request);
    Report Read(const Report& request);
    Report GetData();
    // True when a new transaction starts busy (the fault).
    bool StartsBusy();
    void Cancel();

    I2cWireModel* wire_;
    bool answered_ = false;
    Report answer_;
    uint8_t divider_ = 118; // 100 kHz, the power-up setting
    uint8_t state_ = kIdle;
    bool nack_ = false;
    bool onBus_ = false; // between the START and the STOP of a transaction
    int length_ = 0;     // of the write under way
    int left_ = 0;       // its bytes still to come
    int sent_ = 0;       // its bytes acknowledged
    uint8_t address_ = 0;
    std::deque<uint8_t> readData_;
    long transactions_ = 0;
    long busyAt_ = 0; // 0: never
    bool busy_ = false;
    int badReports_ = 0;
};

} // namespace rtd::host::mcp2221

#endif
