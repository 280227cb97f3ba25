// --bus sim as an adapter: the chip model behind the limits a real adapter or board may
// have, as --sim-adapter sets them (repeatable), so that every pre-flight refusal can be
// seen without hardware:
//   max-write=N  a write longer than N bytes is refused before anything reaches the bus,
//                as the kernel refuses one for an adapter with a message limit
//   nack=ADDR    nothing acknowledges the 7-bit address ADDR (hex: 4A, 4B)
//   no-pullups   no write is acknowledged, every read answers 0xFF
//   swap=N       a board swap for station mode: after each board the chip is gone for N
//                writes (each probe is one), then a new board answers: blank, healthy
//                (the --sim-fault faults belong to the first board only)
#ifndef RTD_HOST_ADAPTERS_SIM_SIMADAPTER_H
#define RTD_HOST_ADAPTERS_SIM_SIMADAPTER_H

#include <string>
#include <vector>

#include "I2cAdapter.h"
#include "ModelChip.h"

namespace rtd::host {

class SimAdapter : public I2cAdapter {
public:
    // The model's faults and flash (ModelChip::Setup), then the limits above. False, with
    // a one-line reason, on a text that is not understood.
    bool Setup(const BusOptions& options, std::string* error);

    AdapterCapabilities Capabilities() const override;
    bool Write(uint8_t address, const uint8_t* data, int count, std::string* error) override;
    bool Read(uint8_t address, uint8_t* data, int count, std::string* error) override;

    ModelChip& Model() { return model_; }
    // The limits above, as --help and the man page show them.
    static const std::vector<sim::FaultForm>& LimitForms();
    // The station is done with the board: with swap=N, the board is taken away.
    void BoardDone();

private:
    bool AddLimit(const std::string& limit, std::string* error);
    bool Refused(uint8_t address, std::string* error) const;

    ModelChip model_;
    int maxWrite_ = 65535;
    int nacked_ = -1; // 7-bit address, -1: none
    bool noPullups_ = false;
    int swapWrites_ = 0; // swap=N; 0: the board stays
    int absentLeft_ = 0; // writes left until the next board answers
};

} // namespace rtd::host

#endif
