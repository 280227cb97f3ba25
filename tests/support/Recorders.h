// Host-side recorders for tests. Each appends to one shared event list, in the trace
// format of the reference host:
//   "W 94 90 40"  bus write: 8-bit address, then every data byte sent
//   "R 95 40"     bus read: 8-bit address, then every byte returned
//   "P 37"        progress message (from RecordingPlatform)
//   "S 10"        wait of 10 ms (from RecordingPlatform)
//   "L Erase..."  line added to the message list
//   "C"           message list cleared
#ifndef RTD_TESTS_SUPPORT_RECORDERS_H
#define RTD_TESTS_SUPPORT_RECORDERS_H

#include <cstdint>
#include <string>
#include <vector>

#include "ForwardingBus.h"
#include "rtd2120/rtd2120.h"

namespace rtd::test {

using Events = std::vector<std::string>;

// Formats bytes as upper-case hex separated by spaces ("90 40").
std::string HexBytes(const uint8_t* data, int count);

// Passes every call on to `inner` (may be null: writes vanish, reads leave the buffer
// untouched) and records it.
class RecordingBus : public host::ForwardingBus {
public:
    RecordingBus(Events* events, TIicInterface* inner) : ForwardingBus(inner), events_(events) {}
    virtual ~RecordingBus() = default;
    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;
    int Calls() const { return calls_; }

private:
    Events* events_;
    int calls_ = 0;
};

class RecordingStrings : public TStrings {
public:
    explicit RecordingStrings(Events* events) : events_(events) {}
    virtual ~RecordingStrings() = default;
    int Add(const char* text) override;
    void Clear() override;
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    Events* events_;
    std::vector<std::string> lines_;
};

// A main form with a settable rectangle. Progress reaches tests through
// RecordingPlatform; the form itself only counts direct deliveries.
class FakeForm : public TForm {
public:
    virtual ~FakeForm() = default;
    int GetLeft() override { return left; }
    int GetTop() override { return top; }
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
    uintptr_t GetHandle() override { return handle; }
    void PostWindowMessage(unsigned message, uintptr_t wParam, intptr_t) override {
        posted.push_back({message, wParam});
    }
    void ProcessMessages() override { ++processed; }

    int left = 100, top = 50, width = 801, height = 600;
    uintptr_t handle = 0;
    struct Posted {
        unsigned message;
        uintptr_t wParam;
    };
    std::vector<Posted> posted;
    int processed = 0;
};

} // namespace rtd::test

#endif
