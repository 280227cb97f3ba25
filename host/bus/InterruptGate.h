// A bus decorator that refuses every transaction once the user asked the command to
// stop (Ctrl-C, SIGTERM, a closing console). It looks before each transaction, never
// inside one, so the chip never sees half a transfer; a refused transaction fails as an
// adapter failure would, and the plug-in ends on its own failure line.
#ifndef RTD_HOST_BUS_INTERRUPTGATE_H
#define RTD_HOST_BUS_INTERRUPTGATE_H

#include "ForwardingBus.h"

namespace rtd::host {

class InterruptGate : public ForwardingBus {
public:
    // `stop` is asked before each transaction; null: never stops.
    InterruptGate(TIicInterface* inner, bool (*stop)()) : ForwardingBus(inner), stop_(stop) {}
    virtual ~InterruptGate() = default;

    bool IicWrite(uint8_t address, int count, const uint8_t* data) override {
        return !Closed() && ForwardingBus::IicWrite(address, count, data);
    }
    bool IicRead(uint8_t address, int count, uint8_t* data) override {
        return !Closed() && ForwardingBus::IicRead(address, count, data);
    }
    // A transaction was refused: the command was interrupted.
    bool Interrupted() const { return closed_; }

private:
    bool Closed() {
        if (!closed_ && stop_ && stop_())
            closed_ = true;
        return closed_;
    }

    bool (*stop_)();
    bool closed_ = false;
};

} // namespace rtd::host

#endif
