// The trace a healthy chip gives for each ISP step, written out from the wire protocol:
// register reads are a one-byte write to 94 and a read from 95, and every poll of a
// healthy chip succeeds on its first read.
#ifndef RTD_TESTS_HOST_EXPECTEDTRACE_H
#define RTD_TESTS_HOST_EXPECTEDTRACE_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace rtd::host::test {

class ExpectedTrace {
public:
    void Line(const std::string& text) { events_.push_back("L " + text); }
    void Clear() { events_.push_back("C"); }
    void Write(std::initializer_list<uint8_t> bytes);
    void ReadRegister(uint8_t reg, uint8_t value);

    void EnterIsp();
    void Erase();
    void ExitIsp();
    // Bank selection, the pages holding data, progress after each full page and 100.
    void WriteImage(const uint8_t* window, int length, int bank);
    // The CRC range 0..length-1 and the chip's answer, computed here bit by bit.
    void ChipCrc(const uint8_t* window, int length, int bank);
    // One whole bank as the bank sequence programs it.
    void ProgramBank(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter);

    const std::vector<std::string>& Events() const { return events_; }

private:
    void Page(const uint8_t* data, int page, int count, uint8_t status);
    std::vector<std::string> events_;
};

} // namespace rtd::host::test

#endif
