// The MPSSE I2C encoder: pure functions from one I2C transaction to the command bytes an
// FTDI FT232H, FT2232H or FT4232H is sent, and from its answer bytes back to the ACK bits
// and read data. A read goes out in one batch; a write goes in chunks, each answered with
// its ACK bits before the next is sent, so a byte the target refused stops the write
// within one chunk.
#ifndef RTD_HOST_ADAPTERS_FTDI_MPSSEENCODER_H
#define RTD_HOST_ADAPTERS_FTDI_MPSSEENCODER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rtd::host::ftdi {

using Bytes = std::vector<uint8_t>;

enum class FtdiChip { Ft232h, Ft2232h, Ft4232h };

const char* ChipName(FtdiChip chip);
// Only the FT232H can drive its pins as open drain (drive-zero mode); the others get an
// open-drain SDA by switching the pin to an input for a 1.
bool HasDriveZero(FtdiChip chip);
// Interfaces with an MPSSE: A on the FT232H, A and B on the FT2232H and FT4232H.
int MpsseInterfaces(FtdiChip chip);

// The bus speeds the encoder sets, in kHz.
const std::vector<int>& MpsseSpeedsKhz();
bool IsSupportedSpeed(int kHz);
// Divisor of the 60 MHz base clock for kHz; three-phase clocking stretches each bit to
// three half periods, so SCL = 60 MHz / ((1 + divisor) * 3).
uint16_t ClockDivisor(int kHz);

// Bytes that bring a freshly reset engine in step: two opcodes it does not know, each
// answered with 0xFA and the opcode.
Bytes EncodeSync();
bool IsSyncAnswer(const Bytes& answer);

// Engine set-up for I2C at kHz (a supported speed), ending with the bus idle.
Bytes EncodeSetup(FtdiChip chip, int kHz);

// One part of a transaction: a write of `bytes` or a read of `readCount` bytes at a
// 7-bit address. The parts of one transaction are joined by repeated STARTs.
struct I2cMessage {
    uint8_t address7 = 0;
    bool read = false;
    Bytes bytes;
    int readCount = 0;

    static I2cMessage Write(uint8_t address7, const uint8_t* data, int count);
    static I2cMessage Read(uint8_t address7, int count);
};

struct MpsseTransaction {
    Bytes commands;
    size_t answerBytes = 0; // what the adapter answers to `commands`
};

// START, each message (its address byte, then its data), STOP, send-immediate; the
// START and STOP held for I2C's minimums at kHz.
MpsseTransaction EncodeTransaction(FtdiChip chip, int kHz, const std::vector<I2cMessage>& messages);

// A write of `count` data bytes in chunks, each ending with send-immediate and answered
// with one ACK byte per byte it clocks out: the address and the first data byte (the
// register), then blocks of `chunk` bytes, the last with the STOP. A write of at most
// `chunk` bytes is one chunk.
std::vector<MpsseTransaction> EncodeWriteChunks(FtdiChip chip, int kHz, uint8_t address7,
                                                const uint8_t* data, int count, int chunk);
// The STOP that ends a write cut short after a chunk.
Bytes EncodeStop(FtdiChip chip, int kHz);

struct I2cOutcome {
    // The first byte the target did not acknowledge, counting the address bytes and the
    // written bytes of all messages in order; -1 when all were acknowledged.
    int nackAt = -1;
    Bytes readData; // every byte read, in message order
    bool Acknowledged() const { return nackAt < 0; }
};

// The answer holds one byte per address byte and per written byte (the ACK bit in bit 0,
// 0 = acknowledged) and one byte per byte read, in bus order. False when its length is
// not the one the transaction asks for.
bool DecodeAnswer(const std::vector<I2cMessage>& messages, const Bytes& answer, I2cOutcome* out);

} // namespace rtd::host::ftdi

#endif
