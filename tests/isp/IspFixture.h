// Shared set-up for the engine's tests: one event list that the bus, the platform (waits
// and progress) and the message list all append to, a scripted chip behind the bus, and
// builders for the expected traces.
#ifndef RTD_TESTS_ISP_ISPFIXTURE_H
#define RTD_TESTS_ISP_ISPFIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Ispunit.h"
#include "Recorders.h"
#include "RecordingPlatform.h"

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
// Bytes counting from `seed` modulo 0xFF, so that no page of them is all 0xFF.
std::vector<uint8_t> CountingImage(int length, uint8_t seed);
// Bitwise CRC-8 (polynomial 0x07, MSB first), independent of the engine's table.
uint8_t BitwiseCrc8(const uint8_t* data, size_t length);
inline uint8_t BitwiseCrc8(const std::vector<uint8_t>& data) {
    return BitwiseCrc8(data.data(), data.size());
}

// The percentages of the progress events, in order.
std::vector<int> Percentages(const Events& events);
// The "L ..." and "C" events, in order.
Events ListEvents(const Events& events);

// Expected-trace builders, written from the wire protocol.
Events operator+(Events a, const Events& b);
Events Repeat(const Events& part, int times);
std::string Hex(uint8_t value);
// "W 94 <reg>" then "R 95 <value>".
Events ReadOf(uint8_t reg, uint8_t value);
// `times` reads of `reg` answering `status`, each followed by a wait of `waitMs` (none if 0).
Events BusyReads(uint8_t reg, uint8_t status, int times, int waitMs);
// One entry attempt that reads `status` (and waits 1 ms more when it is not 0x40).
Events EntryAttempt(uint8_t status);
// Erase: start, 50 ms, `busyReads` reads of 0x80 each followed by 10 ms, then a ready read.
Events EraseSequence(int busyReads);
// Page `page` with the given 256 bytes on the wire, up to the wait before the first poll.
Events PageSent(int page, const std::vector<uint8_t>& wire);
// The same, ready at once.
Events PageSequence(int page, const std::vector<uint8_t>& wire);
// CRC of bank 0 over start..end read as `crc`, both polls ready at once.
Events CrcSequence(int bank, int start, int end, uint8_t crc);

// The engine with its three host objects, all recording into `events`.
class IspTest : public ::testing::Test {
protected:
    IspTest();
    ~IspTest() override;

    // Clears the events and gives the chip its start-up answers, for the next table row.
    ScriptedBus& FreshChip() {
        events.clear();
        chip = ScriptedBus();
        return chip;
    }

    // Compares whole traces and reports the first difference with its neighbours.
    static void ExpectTrace(const Events& actual, const Events& expected);

    Events events;
    RecordingPlatform platform{&events};
    ScopedPlatform platformScope{&platform};
    ScriptedBus chip;
    RecordingBus bus{&events, &chip};
    RecordingStrings list{&events};
    FakeForm form;
    std::unique_ptr<TIspUnit> unit;
};

} // namespace rtd::test

#endif
