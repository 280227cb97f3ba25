// The transfers of a command on a healthy chip, written from the wire protocol and
// grouped into the steps that can fail: each step knows the index of the write that
// starts what it waits for and of the read that decides it.
#ifndef RTD_TESTS_RELIABILITY_WIRESCRIPT_H
#define RTD_TESTS_RELIABILITY_WIRESCRIPT_H

#include <cstdint>
#include <string>
#include <vector>

#include "Recorders.h"

namespace rtd::test {

struct Transfer {
    bool read;
    uint8_t address;
    std::vector<uint8_t> bytes; // sent, or (for a read) returned by a healthy chip
};

enum class StepKind {
    Line,      // a message list line; no transfer
    Entry,     // 90 40, 36 00, read 0x90 == 0x40
    Erase,     // 90 C0, read 0x90 until bit 7 clears
    Exit,      // 90 00
    Select,    // 90 40 or 90 60
    Page,      // page address, 257-byte page, read 0x90 until bit 4 clears
    CrcRange,  // select, range start and end, read 0x90 until bit 3 clears
    CrcEngine, // A2 80, read 0xA2 until bit 7 clears
    CrcResult, // read 0xA3, compared with the CRC of what was written
    WriteOk,   // the page writing's outcome, tested after the CRC
};

struct Step {
    StepKind kind;
    std::string line; // Line: the text; gates: the line their failure logs ("" none)
    int bank = 0;
    int page = 0;
    int length = 0;             // CrcRange/CrcResult: bytes covered
    uint8_t localCrc = 0;       // CrcResult: the CRC of the image
    std::vector<uint8_t> data;  // Page: the 256 bytes sent
    int first = 0;              // index of the step's first transfer
    int trigger = -1;           // the write that starts the awaited work
    int read = -1;              // the read that decides the step
    std::vector<Transfer> wire; // on a healthy chip
};

class WireScript {
public:
    void Line(const std::string& text);
    void Entry(const std::string& failLine);
    void Erase(const std::string& failLine);
    void Exit();
    // The bank sequence: (enter, erase) twice, write, verify, maybe leave.
    void ProgramBank(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter);

    const std::vector<Step>& Steps() const { return steps_; }
    int Transfers() const { return next_; }
    // The first `count` transfers in the recorders' "W .."/"R .." form.
    Events HealthyPrefix(int count) const;

private:
    Step& Add(StepKind kind, std::string line = "");
    void Write(Step& step, uint8_t address, std::vector<uint8_t> bytes, bool trigger = false);
    void Read(Step& step, uint8_t reg, uint8_t value);
    void Select(Step& step, int bank);

    std::vector<Step> steps_;
    int next_ = 0;
};

// Bus events ("W ..", "R ..") of a recorded trace, in order.
Events BusEvents(const Events& events);

} // namespace rtd::test

#endif
