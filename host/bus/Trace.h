// The host's event trace: one event per line, in the order the plug-in caused them.
//   W 94 90 40   bus write: 8-bit address, then every data byte sent
//   R 95 40      bus read: 8-bit address, then every byte returned
//   P 37         progress message delivered, percentage in decimal
//   L Erase...   line added to the message list
//   C            message list cleared
//   A > AA 74    bytes sent to a USB adapter (adapter model buses, real adapters)
//   A < 00       bytes received from it
// The W/R/P/L/C lines are the plug-in's side and do not depend on the bus; A lines are
// the adapter's side of the same transfers, between the W line and the R line they carry.
#ifndef RTD_HOST_BUS_TRACE_H
#define RTD_HOST_BUS_TRACE_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AtomicFile.h"

namespace rtd::host {

// Upper-case hex bytes separated by single spaces ("90 40").
std::string FormatHexBytes(const uint8_t* data, int count);

// Writes events to a file; a trace that was never opened drops them, so the host objects
// can log unconditionally. The file appears at Close, whole: a trace that could not be
// written completely leaves the one before it.
class Trace {
public:
    Trace() = default;
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // Starts the file. False, with a one-line reason, when it cannot be created.
    bool Open(const std::string& path, std::string* error);
    // Writes the file in place of the old one; false when it could not be written
    // completely (the old one is then kept).
    bool Close();
    bool IsOpen() const { return file_.Stream() != nullptr; }

    // Every W and R line also goes to `echo` (isphost --verbose), open file or not.
    void EchoBusLines(std::function<void(const std::string&)> echo) { echo_ = std::move(echo); }

    void Event(const std::string& line);
    void Bus(char kind, uint8_t address, int count, const uint8_t* data);
    void Adapter(bool toAdapter, const std::vector<uint8_t>& bytes);

private:
    AtomicFile file_;
    std::function<void(const std::string&)> echo_;
};

} // namespace rtd::host

#endif
