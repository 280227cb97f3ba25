// USB trouble for dry runs: a link decorator that fails chosen transfers, as a flaky
// cable or a pulled plug would. Transfers are counted from 1 over the link's life, sends
// and receives alike (each "A" line of the trace is one).
//   usb-fail=U   transfer U fails (a timeout); the ones after it work again
//   unplug=U     transfer U and every one after it fail: the device is gone
#ifndef RTD_HOST_BUS_LINKFAULTS_H
#define RTD_HOST_BUS_LINKFAULTS_H

#include <string>

#include "ByteLink.h"

namespace rtd::host {

class FaultyLink : public ByteLink {
public:
    explicit FaultyLink(ByteLink* inner) : inner_(inner) {}

    // True when `fault` names one of the faults above (whether or not it parses).
    static bool Knows(const std::string& fault);
    // False, with a one-line reason, when the text is not a fault of this link.
    bool AddFault(const std::string& fault, std::string* error);

    bool Send(const std::vector<uint8_t>& data, std::string* error) override;
    bool Receive(size_t size, std::vector<uint8_t>* data, std::string* error) override;

private:
    bool Fails(std::string* error);

    ByteLink* inner_;
    long transfers_ = 0;
    long failAt_ = 0;   // 0: none
    long unplugAt_ = 0; // 0: never
};

// Parses a positive decimal count ("12") as the faults take it. False when it is not one.
bool ParseFaultCount(const std::string& text, long* value);

} // namespace rtd::host

#endif
