// The host's message list: each line added is traced and shown at once.
#ifndef RTD_HOST_CONSOLESTRINGS_H
#define RTD_HOST_CONSOLESTRINGS_H

#include <string>
#include <vector>

#include "Console.h"
#include "Trace.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

class ConsoleStrings : public TStrings {
public:
    ConsoleStrings(Console* console, Trace* trace) : console_(console), trace_(trace) {}
    virtual ~ConsoleStrings() = default;

    int Add(const char* text) override;
    // Empties the list; what was already printed stays on screen.
    void Clear() override;

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    Console* console_;
    Trace* trace_;
    std::vector<std::string> lines_;
};

} // namespace rtd::host

#endif
