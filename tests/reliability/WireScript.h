// The transfers of a command on a healthy chip, as the steps of the expected trace that
// can fail: each step knows the index of the write that starts what it waits for and of
// the read that decides it.
#ifndef RTD_TESTS_RELIABILITY_WIRESCRIPT_H
#define RTD_TESTS_RELIABILITY_WIRESCRIPT_H

#include <cstdint>
#include <string>
#include <vector>

#include "ExpectedTrace.h"

namespace rtd::test {

struct Transfer {
    bool read;
    uint8_t address;
    std::vector<uint8_t> bytes; // sent, or (for a read) returned by a healthy chip
};

struct Step : TraceStep {
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
    void ProgramBank(const uint8_t* window, int bank, bool eraseFirst, bool exitAfter);

    const std::vector<Step>& Steps() const { return steps_; }
    int Transfers() const { return next_; }
    // The first `count` transfers in the recorders' "W .."/"R .." form.
    Events HealthyPrefix(int count) const;
    // The message lines of the whole healthy run.
    std::vector<std::string> HealthyLines() const;

private:
    void Add(TraceStep step);

    std::vector<Step> steps_;
    Events events_;
    int next_ = 0;
};

} // namespace rtd::test

#endif
