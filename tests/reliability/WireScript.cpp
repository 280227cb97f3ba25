#include "WireScript.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace rtd::test {

namespace {

// "W 94 90 40" or "R 95 40": the address, then the bytes.
Transfer Parse(const std::string& event) {
    std::istringstream in(event.substr(2));
    Transfer t{event[0] == 'R', 0, {}};
    unsigned value;
    in >> std::hex >> value;
    t.address = static_cast<uint8_t>(value);
    while (in >> value)
        t.bytes.push_back(static_cast<uint8_t>(value));
    return t;
}

} // namespace

// The work a step waits for is started by its last write before its first wait; the
// step is decided by its last read.
void WireScript::Add(TraceStep traceStep) {
    Step step;
    static_cast<TraceStep&>(step) = std::move(traceStep);
    step.first = next_;
    int lastWrite = -1;
    for (const std::string& e : step.events) {
        if (e[0] == 'S' && step.trigger < 0)
            step.trigger = lastWrite;
        if (e[0] != 'W' && e[0] != 'R')
            continue;
        step.wire.push_back(Parse(e));
        (e[0] == 'W' ? lastWrite : step.read) = next_++;
    }
    events_ = std::move(events_) + step.events;
    steps_.push_back(std::move(step));
}

void WireScript::Line(const std::string& text) {
    Add({TraceStep::Plain, {"L " + text}, ""});
}

void WireScript::Entry(const std::string& failLine) {
    Add({TraceStep::Entry, EntryAttempt(0x40), failLine});
}

void WireScript::Erase(const std::string& failLine) {
    Add({TraceStep::Erase, EraseSequence(0), failLine});
}

void WireScript::Exit() {
    Add({TraceStep::Exit, ExitIsp(), ""});
}

void WireScript::ProgramBank(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter) {
    for (TraceStep& step : ProgramBankSteps(window, bank, eraseFirst, exitAfter))
        Add(std::move(step));
}

Events WireScript::HealthyPrefix(int count) const {
    const Events bus = BusEvents(events_);
    return Events(bus.begin(), bus.begin() + std::min<size_t>(bus.size(), count));
}

std::vector<std::string> WireScript::HealthyLines() const {
    std::vector<std::string> lines;
    for (const std::string& e : ListEvents(events_))
        lines.push_back(e.substr(2));
    return lines;
}

} // namespace rtd::test
