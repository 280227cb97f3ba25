// The FTDI MPSSE protocol model behind the encoder: what reaches the chip model through
// the wire model, what the adapter answers, NACKs, and the bus faults it catches in a
// command stream.
#include <gtest/gtest.h>

#include "ChipModel.h"
#include "CountingLink.h"
#include "FtdiUsbTiming.h"
#include "MpsseAdapter.h"
#include "MpsseModel.h"

namespace rtd::host::ftdi {
namespace {

const FtdiChip kChips[] = {FtdiChip::Ft232h, FtdiChip::Ft2232h, FtdiChip::Ft4232h};

// The encoder and the model with the wire and chip models behind it.
struct Rig {
    explicit Rig(FtdiChip chip, int kHz = 100) : chip(chip), kHz(kHz), model(chip, &wire) {
        const Bytes setup = EncodeSetup(chip, kHz);
        model.Write(setup.data(), setup.size());
    }

    // One transaction; the commands arrive in one piece or byte by byte.
    I2cOutcome Run(const std::vector<I2cMessage>& messages, bool bytewise = false) {
        const MpsseTransaction t = EncodeTransaction(chip, kHz, messages);
        for (size_t at = 0; at < t.commands.size(); at += bytewise ? 1 : t.commands.size())
            model.Write(&t.commands[at], bytewise ? 1 : t.commands.size());
        Bytes answer(model.Pending());
        model.Read(answer.data(), answer.size());
        I2cOutcome outcome;
        EXPECT_TRUE(DecodeAnswer(messages, answer, &outcome)) << "answer of " << answer.size();
        return outcome;
    }
    I2cOutcome Write(uint8_t address7, const Bytes& bytes, bool bytewise = false) {
        return Run({I2cMessage::Write(address7, bytes.data(), static_cast<int>(bytes.size()))},
                   bytewise);
    }

    FtdiChip chip;
    int kHz;
    sim::ChipModel target;
    I2cWireModel wire{&target};
    MpsseModel model;
};

Bytes Page(uint8_t fill) {
    Bytes page(257, fill);
    page[0] = 0x94;
    return page;
}

TEST(MpsseModel, EncoderTransactionsReachTheChipAsSent) {
    for (FtdiChip chip : kChips) {
        for (bool bytewise : {false, true}) {
            SCOPED_TRACE(std::string(ChipName(chip)) + (bytewise ? " byte by byte" : ""));
            Rig rig(chip, 400);
            EXPECT_EQ(rig.model.Engine().ClockHz(), 400000);
            EXPECT_TRUE(rig.Write(0x4A, {0x90, 0x40}, bytewise).Acknowledged());
            EXPECT_TRUE(rig.Write(0x4A, {0x36, 0x00}, bytewise).Acknowledged());
            EXPECT_TRUE(rig.Write(0x4A, {0x90}, bytewise).Acknowledged());
            const I2cOutcome status = rig.Run({I2cMessage::Read(0x4A, 1)}, bytewise);
            EXPECT_TRUE(status.Acknowledged());
            EXPECT_EQ(status.readData, Bytes{0x40});
            EXPECT_TRUE(rig.Write(0x4B, {0x92, 0x07, 0x00}, bytewise).Acknowledged());
            EXPECT_TRUE(rig.Write(0x4A, Page(0xA5), bytewise).Acknowledged());

            // Each transaction is one chip call: five writes, one read, the page programmed.
            EXPECT_EQ(rig.target.Stats().writes, 5);
            EXPECT_EQ(rig.target.Stats().reads, 1);
            EXPECT_EQ(rig.target.Stats().pagesProgrammed, 1);
            EXPECT_EQ(rig.target.Flash(0)[0x06FF], 0xFF);
            EXPECT_EQ(rig.target.Flash(0)[0x0700], 0xA5);
            EXPECT_EQ(rig.target.Flash(0)[0x07FF], 0xA5);
            EXPECT_TRUE(rig.model.Violations().empty()) << *rig.model.Violations().begin();
        }
    }
}

TEST(MpsseModel, RepeatedStartEndsTheWriteBeforeTheRead) {
    Rig rig(FtdiChip::Ft2232h);
    const uint8_t name = 0x90;
    const I2cOutcome outcome =
        rig.Run({I2cMessage::Write(0x4A, &name, 1), I2cMessage::Read(0x4A, 2)});
    EXPECT_TRUE(outcome.Acknowledged());
    EXPECT_EQ(outcome.readData, (Bytes{0x00, 0x00})); // not in ISP mode: status 00
    EXPECT_EQ(rig.target.Stats().writes, 1);
    EXPECT_EQ(rig.target.Stats().reads, 2); // the wire model reads a byte at a time
    EXPECT_EQ(rig.wire.Transactions(), 2);
    EXPECT_TRUE(rig.model.Violations().empty());
}

TEST(MpsseModel, RefusedAddressesAndBytesAreNacked) {
    const struct {
        const char* name;
        const char* fault; // of the wire, else of the chip
        I2cMessage message;
        int nackAt;
        int chipCalls;
    } cases[] = {
        {"no device at 0x50", "", I2cMessage::Write(0x50, Page(0).data(), 2), 0, 0},
        {"0x4B is write only", "", I2cMessage::Read(0x4B, 1), 0, 0},
        {"nothing on the bus", "nack-address", I2cMessage::Write(0x4A, Page(0).data(), 2), 0, 0},
        {"byte 128 of a page refused", "nack-data=1:128",
         I2cMessage::Write(0x4A, Page(0).data(), 257), 128, 1},
        {"failed chip read: the pull-ups' FF", "read-fail", I2cMessage::Read(0x4A, 1), -1, 1},
    };
    for (FtdiChip chip : {FtdiChip::Ft232h, FtdiChip::Ft2232h}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(ChipName(chip)) + ": " + c.name);
            Rig rig(chip);
            std::string error;
            if (I2cWireModel::Knows(c.fault)) {
                ASSERT_TRUE(rig.wire.AddFault(c.fault, &error)) << error;
            } else if (*c.fault) {
                ASSERT_TRUE(rig.target.AddFault(c.fault, &error)) << error;
            }
            const I2cOutcome outcome = rig.Run({c.message});
            EXPECT_EQ(outcome.nackAt, c.nackAt);
            if (c.message.read) {
                EXPECT_EQ(outcome.readData, Bytes{0xFF}); // nobody drives SDA
            }
            EXPECT_EQ(rig.target.Stats().writes + rig.target.Stats().reads, c.chipCalls);
            EXPECT_EQ(rig.target.Stats().pagesProgrammed, 0);
            EXPECT_TRUE(rig.model.Violations().empty());
        }
    }
}

// The adapter over the model, its USB counted as --stats counts it.
struct AdapterRig {
    explicit AdapterRig(FtdiChip chip)
        : model(chip, &wire),
          counting(&model, kRoundTripSeconds, kLatencyTimerMs / 1000.0, AnswersAtOnce),
          adapter(&counting, chip, "ftdi:model", 400) {}
    sim::ChipModel target;
    I2cWireModel wire{&target};
    MpsseModel model;
    CountingLink counting;
    MpsseAdapter adapter;
};

// A page write goes in chunks whose ACK bits are read before the next is sent: after a
// refused byte the rest of its chunk is clocked, then the STOP, and the bus is usable.
TEST(MpsseModel, ARefusedByteStopsTheWriteWithinItsChunk) {
    const struct {
        const char* fault;
        const char* reason;
        int clockedAfter; // bytes after the refused one: the rest of its chunk
    } cases[] = {
        {"nack-address", "address not acknowledged", 1}, // the register byte shares its chunk
        {"nack-data=2:1", "not acknowledged at data byte 1", 0},
        {"nack-data=2:100", "not acknowledged at data byte 100", 29}, // chunk of bytes 98-129
        {"nack-data=2:257", "not acknowledged at data byte 257", 0},
    };
    for (FtdiChip chip : {FtdiChip::Ft232h, FtdiChip::Ft2232h}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(ChipName(chip)) + ": " + c.fault);
            AdapterRig rig(chip);
            std::string error;
            ASSERT_TRUE(rig.wire.AddFault(c.fault, &error)) << error;
            ASSERT_TRUE(rig.adapter.Begin(&error)) << error;
            const Bytes two = {0x90, 0x40};
            EXPECT_EQ(rig.adapter.Write(0x94, two.data(), 2, &error),
                      std::string(c.fault) != "nack-address");
            const Bytes page = Page(0xA5);
            EXPECT_FALSE(rig.adapter.Write(0x94, page.data(), 257, &error));
            EXPECT_EQ(error, c.reason);
            EXPECT_EQ(rig.wire.BytesAfterRefusal(), c.clockedAfter);
            EXPECT_TRUE(rig.model.Violations().empty()) << *rig.model.Violations().begin();
            // The STOP came: the next transaction starts on an idle bus.
            const long transactions = rig.wire.Transactions();
            rig.adapter.Write(0x94, two.data(), 2, &error);
            EXPECT_EQ(rig.wire.Transactions(), transactions + 1);
        }
    }
}

// USB use: only the sync's answer waits for the latency timer (the engine sends it when the
// timer runs out); every transaction ends with send-immediate. A page write is 9 round
// trips: the address and register, then eight blocks of 32.
TEST(MpsseModel, OnlyTheSyncWaitsForTheLatencyTimer) {
    AdapterRig rig(FtdiChip::Ft232h);
    std::string error;
    ASSERT_TRUE(rig.adapter.Begin(&error)) << error;
    EXPECT_EQ(rig.counting.Counts().latencyWaits, 1);
    const UsbCounts before = rig.counting.Counts();
    const Bytes page = Page(0x11);
    ASSERT_TRUE(rig.adapter.Write(0x94, page.data(), 257, &error)) << error;
    uint8_t status = 0;
    ASSERT_TRUE(rig.adapter.Read(0x95, &status, 1, &error)) << error;
    const UsbCounts used = rig.counting.Counts().Since(before);
    EXPECT_EQ(used.RoundTrips(), 9 + 1);
    EXPECT_EQ(used.transfersIn, 9 + 1);
    EXPECT_EQ(used.bytesIn, 258 + 2);
    EXPECT_EQ(used.latencyWaits, 0);
}

TEST(MpsseModel, AnswersAsTheEngineDoesAndCatchesBadBusUse) {
    // In step: unknown opcodes are echoed after 0xFA.
    Rig rig(FtdiChip::Ft232h);
    const Bytes sync = EncodeSync();
    rig.model.Write(sync.data(), sync.size());
    Bytes answer(rig.model.Pending());
    rig.model.Read(answer.data(), answer.size());
    EXPECT_TRUE(IsSyncAnswer(answer));

    // FT232H commands on an FT2232H: drive-zero is unknown there, and SDA stays driven
    // high into the target's ACK.
    MpsseModel ft2232h(FtdiChip::Ft2232h, &rig.wire);
    const Bytes setup = EncodeSetup(FtdiChip::Ft232h, 100);
    ft2232h.Write(setup.data(), setup.size());
    const MpsseTransaction t =
        EncodeTransaction(FtdiChip::Ft232h, 100, {I2cMessage::Read(0x4A, 1)});
    ft2232h.Write(t.commands.data(), t.commands.size());
    answer.assign(2, 0);
    ft2232h.Read(answer.data(), 2);
    EXPECT_EQ(answer, (Bytes{0xFA, 0x9E}));
    EXPECT_EQ(ft2232h.Violations().count("SDA driven by the master while the target sends"), 1u);

    // Clocking from the power-up set-up (12 MHz, two-phase).
    MpsseModel unset(FtdiChip::Ft232h, &rig.wire);
    unset.Write(t.commands.data(), t.commands.size());
    EXPECT_EQ(unset.Violations().count("data clocked without the 60 MHz three-phase set-up"), 1u);

    // Both lines in one pin write.
    MpsseModel glitch(FtdiChip::Ft232h, &rig.wire);
    const Bytes both = {0x80, 0x00, 0x03, 0x80, 0x03, 0x03};
    glitch.Write(both.data(), both.size());
    EXPECT_EQ(glitch.Violations().count("SCL and SDA changed in one pin write"), 1u);

    // Fast-mode holds on a 100 kHz bus: every START and STOP state too short.
    Rig slow(FtdiChip::Ft232h, 100);
    const Bytes two = {0x90, 0x40};
    const MpsseTransaction fast = EncodeTransaction(
        FtdiChip::Ft232h, 400, {I2cMessage::Write(0x4A, two.data(), 2), I2cMessage::Read(0x4A, 1)});
    slow.model.Write(fast.commands.data(), fast.commands.size());
    EXPECT_EQ(slow.model.Violations(),
              (std::set<std::string>{"START hold shorter than I2C's minimum",
                                     "STOP set-up shorter than I2C's minimum",
                                     "bus free time before a START shorter than I2C's minimum",
                                     "repeated START set-up shorter than I2C's minimum"}));
}

} // namespace
} // namespace rtd::host::ftdi
