// Shared set-up for the engine's tests: one event list that the bus, the platform (waits
// and progress) and the message list all append to, and a scripted chip behind the bus.
#ifndef RTD_TESTS_ISP_ISPFIXTURE_H
#define RTD_TESTS_ISP_ISPFIXTURE_H

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "ExpectedTrace.h"
#include "ReferenceCrc.h"

namespace rtd::test {

// A bus that answers register reads from per-register queues, then from an idle value.
// A register with neither fails the read and leaves the caller's buffer as it was.
class ScriptedBus : public TIicInterface {
public:
    virtual ~ScriptedBus() = default;
    bool IicWrite(uint8_t address, int count, const uint8_t* data) override;
    bool IicRead(uint8_t address, int count, uint8_t* data) override;

    // The next reads of `reg` return these bytes in order.
    void Queue(uint8_t reg, std::vector<uint8_t> values);
    // What `reg` reads once its queue is empty.
    void Idle(uint8_t reg, uint8_t value) { idle_[reg] = value; }
    // Reads of `reg` fail once its queue is empty.
    void FailIdle(uint8_t reg) { idle_.erase(reg); }

private:
    uint8_t named_ = 0;
    std::map<uint8_t, std::deque<uint8_t>> queued_;
    std::map<uint8_t, uint8_t> idle_{{0x90, 0x40}, {0xA2, 0x00}, {0xA3, 0x00}};
};

// Test data.
std::vector<uint8_t> Bytes(int count, uint8_t value);

// The engine with its three host objects, all recording into `events`, and the scripted
// chip behind the bus.
class IspTest : public EngineFixture {
protected:
    IspTest() { bus.SetInner(&chip); }

    // Clears the events and gives the chip its start-up answers, for the next table row.
    ScriptedBus& FreshChip() {
        events.clear();
        chip = ScriptedBus();
        return chip;
    }

    ScriptedBus chip;
};

} // namespace rtd::test

#endif
