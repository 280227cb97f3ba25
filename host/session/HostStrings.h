// The host's message list: each line added is traced and shown at once, on isphost's
// console or in ispgui's list box.
#ifndef RTD_HOST_SESSION_HOSTSTRINGS_H
#define RTD_HOST_SESSION_HOSTSTRINGS_H

#include <functional>
#include <string>
#include <vector>

#include "Trace.h"
#include "rtd2120/rtd2120.h"

namespace rtd::host {

struct LinesDisplay {
    std::function<void(const std::string& line)> add;
    std::function<void()> clear; // null: what was shown stays (a console cannot unprint)
};

class HostStrings : public TStrings {
public:
    HostStrings(LinesDisplay display, Trace* trace) : display_(std::move(display)), trace_(trace) {}
    virtual ~HostStrings() = default;

    int Add(const char* text) override;
    void Clear() override;

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    LinesDisplay display_;
    Trace* trace_;
    std::vector<std::string> lines_;
};

} // namespace rtd::host

#endif
