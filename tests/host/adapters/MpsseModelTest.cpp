// The FTDI MPSSE protocol model behind the encoder: what reaches the chip model through
// the wire model, what the adapter answers, NACKs, and the bus faults it catches in a
// command stream.
#include <gtest/gtest.h>

#include "ChipModel.h"
#include "MpsseModel.h"

namespace rtd::host::ftdi {
namespace {

const FtdiChip kChips[] = {FtdiChip::Ft232h, FtdiChip::Ft2232h, FtdiChip::Ft4232h};

// The encoder and the model with the wire and chip models behind it.
struct Rig {
    explicit Rig(FtdiChip chip, int kHz = 100) : chip(chip), model(chip, &wire) {
        const Bytes setup = EncodeSetup(chip, kHz);
        model.Write(setup.data(), setup.size());
    }

    // One transaction; the commands arrive in one piece or byte by byte.
    I2cOutcome Run(const std::vector<I2cMessage>& messages, bool bytewise = false) {
        const MpsseTransaction t = EncodeTransaction(chip, messages);
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
    const MpsseTransaction t = EncodeTransaction(FtdiChip::Ft232h, {I2cMessage::Read(0x4A, 1)});
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
}

} // namespace
} // namespace rtd::host::ftdi
