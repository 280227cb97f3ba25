// Expected traces, written from the wire protocol as named pieces that tests join with +:
// every transfer, wait, progress message and list line, in the recorders' event form
// (Recorders.h). The reference host's trace file holds the same events without the waits
// (WithoutWaits). A register read is a one-byte write to 94 naming it, then a read of one
// byte from 95.
#ifndef RTD_TESTS_SUPPORT_EXPECTEDTRACE_H
#define RTD_TESTS_SUPPORT_EXPECTEDTRACE_H

#include <cstdint>
#include <string>
#include <vector>

#include "Recorders.h"

namespace rtd::test {

// Firmware bytes counting from `seed` modulo 0xFF, so that no page of them is all 0xFF.
std::vector<uint8_t> CountingImage(size_t length, uint8_t seed);

Events operator+(Events a, const Events& b);
Events Repeat(const Events& part, int times);
std::string Hex(uint8_t value);

// What the status register of a healthy chip reads in ISP mode with `bank` selected.
uint8_t IspStatus(int bank);

// "W 94 <reg>" then "R 95 <value>".
Events ReadOf(uint8_t reg, uint8_t value);
// `times` reads of `reg` answering `status`, each followed by a wait of `waitMs` (none if 0).
Events BusyReads(uint8_t reg, uint8_t status, int times, int waitMs);
Events SelectBank(int bank);
Events ExitIsp();
// One entry attempt that reads `status` (and waits 1 ms more when it is not 0x40).
Events EntryAttempt(uint8_t status);
// The erase started, up to the wait before its first poll.
Events EraseStarted();
// The erase started, `busyReads` reads of 0x80 each followed by 10 ms, then a ready read.
Events EraseSequence(int busyReads);
// Enter, erase, leave, enter again, erase again: "Erase..." only before the first erase.
Events DoubleErase();
// Page `page` with the given 256 bytes on the wire, up to the wait before its first poll.
Events PageSent(int page, const std::vector<uint8_t>& wire);
// The same, then one poll that reads `status`.
Events PageSequence(int page, const std::vector<uint8_t>& wire, uint8_t status = 0x40);
// The CRC range start..end (low 16 bits) of `bank` sent, up to the wait before its poll.
Events CrcRangeSent(int bank, int start, int end);
// The CRC engine started, up to its first poll.
Events CrcStarted();
// The whole CRC read: the range poll reads `status`, the engine is ready at once, the
// result reads `crc`.
Events CrcSequence(int bank, int start, int end, uint8_t crc, uint8_t status = 0x40);

// One step of the bank sequence on a healthy chip that programs what it is sent: the
// steps that wait for the chip (and so can fail, adding `failLine`) and the plain events
// between them (waits, progress, lines).
struct TraceStep {
    enum Kind { Plain, Entry, Erase, Exit, Select, Page, CrcRange, CrcEngine, CrcResult, WriteOk };
    Kind kind;
    Events events;
    std::string failLine; // the line a failure of the step adds ("" none)
    int bank = 0;
    int page = 0;    // Page
    int length = 0;  // CrcRange, CrcResult: bytes covered, counted from 0
    uint8_t crc = 0; // CrcResult: the CRC of the bytes written
};
using TraceSteps = std::vector<TraceStep>;

// The bank sequence for one 65,536-byte window: (enter, erase) twice when `eraseFirst`,
// the pages holding data up to the last byte that is not 0xFF, progress, the CRC check,
// and leaving ISP mode when `exitAfter`.
TraceSteps ProgramBankSteps(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter);
Events Join(const TraceSteps& steps);
Events ProgramBankTrace(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter);

// Filters of a trace, keeping the order.
Events EventsOf(const Events& events, const std::string& kinds); // kind: the first letter
Events WithoutWaits(const Events& events);
Events BusEvents(const Events& events);  // "W .." and "R .."
Events ListEvents(const Events& events); // "L .." and "C"
std::vector<int> Percentages(const Events& events);

// Compares whole traces and reports the first difference with its neighbours.
void ExpectTrace(const Events& actual, const Events& expected);

} // namespace rtd::test

#endif
