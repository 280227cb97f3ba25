// The FTDI MPSSE I2C encoder byte for byte, its answer decoder and `--bus ftdi:DESC`.
#include <gtest/gtest.h>

#include "FtdiSelection.h"
#include "MpsseEncoder.h"
#include "Recorders.h"

namespace rtd::host::ftdi {
namespace {

std::string Hex(const Bytes& bytes) {
    return test::HexBytes(bytes.data(), static_cast<int>(bytes.size()));
}

// Equal hex texts, or where they part (a page's commands run to some 10 KB of text).
::testing::AssertionResult SameHex(const std::string& actual, const std::string& expected) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    at -= at % 3; // back to the start of the byte
    return ::testing::AssertionFailure()
           << "byte " << at / 3 << " of " << (actual.size() + 1) / 3 << ": \""
           << actual.substr(at, 48) << "\" where \"" << expected.substr(at, 48) << "\" (of "
           << (expected.size() + 1) / 3 << ") was expected";
}

std::string Times(int n, const std::string& text) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += (i ? " " : "") + text;
    return out;
}

// The four pin writes an I2C master needs, as each chip family spells them: the FT232H
// keeps both pins outputs and lets a 1 float (drive-zero); the others release SDA by
// making it an input.
struct Pins {
    std::string idle, sdaLow, bothLow, sclLow;
};
const Pins kDriveZeroPins{"80 03 03", "80 01 03", "80 00 03", "80 02 03"};
const Pins kInputPins{"80 03 01", "80 01 03", "80 00 03", "80 02 01"};

// How many times each START and STOP pin state is written: I2C's minimums at 0.5 us a
// pin write, rounded up (standard mode 4.7, 4.0, 4.0 and 4.7 us; fast mode 1.3, 0.6, 0.6
// and 0.6 us).
struct Holds {
    int busFree, startHold, stopSetup, startSetup;
};
const Holds kStandard{10, 9, 9, 10};
const Holds kFast{3, 2, 2, 2};

std::string Start(const Pins& p, const Holds& h = kStandard) {
    return Times(h.busFree, p.idle) + " " + Times(h.startHold, p.sdaLow) + " " + p.bothLow;
}
std::string RepeatedStart(const Pins& p, const Holds& h = kStandard) {
    return p.sclLow + " " + Times(h.startSetup, p.idle) + " " + Times(h.startHold, p.sdaLow) + " " +
           p.bothLow;
}
std::string StopOnly(const Pins& p, const Holds& h = kStandard) {
    return p.bothLow + " " + Times(h.stopSetup, p.sdaLow) + " " + Times(h.busFree, p.idle);
}
std::string Stop(const Pins& p, const Holds& h = kStandard) {
    return StopOnly(p, h) + " 87";
}
// Byte out on the falling edge, SDA released, ACK bit in on the rising edge.
std::string Send(const Pins& p, const std::string& byte) {
    return p.bothLow + " 11 00 00 " + byte + " " + p.sclLow + " 22 00";
}
// Byte in on the rising edge, then the master's ACK (00) or NACK (80) bit.
std::string Receive(const Pins& p, bool last) {
    return p.sclLow + " 20 00 00 " + p.bothLow + " 13 00 " + (last ? "80" : "00");
}

TEST(MpsseEncoder, TransferShapesOfThePlugInByteForByte) {
    const Bytes page = [] {
        Bytes b(257, 0x5A);
        b[0] = 0x94;
        return b;
    }();
    std::string pageSends;
    for (size_t i = 1; i < page.size(); ++i)
        pageSends += " " + Send(kDriveZeroPins, "5A");
    const struct {
        const char* name;
        FtdiChip chip;
        I2cMessage message;
        std::string expected;
        size_t answers;
        int kHz = 100;
    } cases[] = {
        {"write 1", FtdiChip::Ft232h, I2cMessage::Write(0x4A, Bytes{0x90}.data(), 1),
         Start(kDriveZeroPins) + " " + Send(kDriveZeroPins, "94") + " " +
             Send(kDriveZeroPins, "90") + " " + Stop(kDriveZeroPins),
         2},
        {"write 1 at 400 kHz", FtdiChip::Ft232h, I2cMessage::Write(0x4A, Bytes{0x90}.data(), 1),
         Start(kDriveZeroPins, kFast) + " " + Send(kDriveZeroPins, "94") + " " +
             Send(kDriveZeroPins, "90") + " " + Stop(kDriveZeroPins, kFast),
         2, 400},
        {"write 2, FT2232H", FtdiChip::Ft2232h,
         I2cMessage::Write(0x4A, Bytes{0x90, 0x40}.data(), 2),
         Start(kInputPins) + " " + Send(kInputPins, "94") + " " + Send(kInputPins, "90") + " " +
             Send(kInputPins, "40") + " " + Stop(kInputPins),
         3},
        {"write 3, FT4232H", FtdiChip::Ft4232h,
         I2cMessage::Write(0x4B, Bytes{0x92, 0x12, 0x00}.data(), 3),
         Start(kInputPins) + " " + Send(kInputPins, "96") + " " + Send(kInputPins, "92") + " " +
             Send(kInputPins, "12") + " " + Send(kInputPins, "00") + " " + Stop(kInputPins),
         4},
        {"write 257", FtdiChip::Ft232h, I2cMessage::Write(0x4A, page.data(), 257),
         Start(kDriveZeroPins) + " " + Send(kDriveZeroPins, "94") + " " +
             Send(kDriveZeroPins, "94") + pageSends + " " + Stop(kDriveZeroPins),
         258},
        {"read 1", FtdiChip::Ft232h, I2cMessage::Read(0x4A, 1),
         Start(kDriveZeroPins) + " " + Send(kDriveZeroPins, "95") + " " +
             Receive(kDriveZeroPins, true) + " " + Stop(kDriveZeroPins),
         2},
        {"read 2, FT2232H", FtdiChip::Ft2232h, I2cMessage::Read(0x4A, 2),
         Start(kInputPins) + " " + Send(kInputPins, "95") + " " + Receive(kInputPins, false) + " " +
             Receive(kInputPins, true) + " " + Stop(kInputPins),
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MpsseTransaction t = EncodeTransaction(c.chip, c.kHz, {c.message});
        EXPECT_TRUE(SameHex(Hex(t.commands), c.expected));
        EXPECT_EQ(t.answerBytes, c.answers);
    }
}

// A write in chunks: the address and register byte, then blocks, each ending with
// send-immediate so that its ACK bits come back before the next goes out; the STOP in the
// last. A write that fits one block is one chunk.
TEST(MpsseEncoder, WritesGoInChunksEachAnsweredBeforeTheNext) {
    const Pins& p = kDriveZeroPins;
    const Bytes page = [] {
        Bytes b(257, 0x5A);
        b[0] = 0x94;
        return b;
    }();
    std::string block;
    for (int i = 0; i < 32; ++i)
        block += " " + Send(p, "5A");
    const std::vector<MpsseTransaction> chunks =
        EncodeWriteChunks(FtdiChip::Ft232h, 100, 0x4A, page.data(), 257, 32);
    ASSERT_EQ(chunks.size(), 9u);
    EXPECT_TRUE(SameHex(Hex(chunks[0].commands),
                        Start(p) + " " + Send(p, "94") + " " + Send(p, "94") + " 87"));
    EXPECT_EQ(chunks[0].answerBytes, 2u);
    for (size_t i = 1; i < 8; ++i) {
        EXPECT_TRUE(SameHex(Hex(chunks[i].commands), block.substr(1) + " 87")) << i;
        EXPECT_EQ(chunks[i].answerBytes, 32u) << i;
    }
    EXPECT_TRUE(SameHex(Hex(chunks[8].commands), block.substr(1) + " " + Stop(p)));
    EXPECT_EQ(chunks[8].answerBytes, 32u);

    const Bytes two = {0x90, 0x40};
    const std::vector<MpsseTransaction> one =
        EncodeWriteChunks(FtdiChip::Ft232h, 400, 0x4A, two.data(), 2, 32);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(Hex(one[0].commands),
              Hex(EncodeTransaction(FtdiChip::Ft232h, 400, {I2cMessage::Write(0x4A, two.data(), 2)})
                      .commands));
    EXPECT_EQ(Hex(EncodeStop(FtdiChip::Ft2232h, 400)), StopOnly(kInputPins, kFast));
}

TEST(MpsseEncoder, RepeatedStartReleasesSdaBeforeRaisingScl) {
    const MpsseTransaction t = EncodeTransaction(
        FtdiChip::Ft2232h, 100,
        {I2cMessage::Write(0x4A, Bytes{0x90}.data(), 1), I2cMessage::Read(0x4A, 1)});
    EXPECT_TRUE(SameHex(Hex(t.commands), Start(kInputPins) + " " + Send(kInputPins, "94") + " " +
                                             Send(kInputPins, "90") + " " +
                                             RepeatedStart(kInputPins) + " " +
                                             Send(kInputPins, "95") + " " +
                                             Receive(kInputPins, true) + " " + Stop(kInputPins)));
    EXPECT_EQ(t.answerBytes, 4u);
}

TEST(MpsseEncoder, SetUpPerChipAndSpeed) {
    const struct {
        FtdiChip chip;
        int kHz;
        const char* expected;
    } cases[] = {
        // 60 MHz base, adaptive off, three-phase on, [drive-zero on ADBUS0-2], loopback
        // off, divisor 199 (100 kHz) or 49 (400 kHz), bus idle.
        {FtdiChip::Ft232h, 100, "8A 97 8C 9E 07 00 85 86 C7 00 80 03 03"},
        {FtdiChip::Ft232h, 400, "8A 97 8C 9E 07 00 85 86 31 00 80 03 03"},
        {FtdiChip::Ft2232h, 400, "8A 97 8C 85 86 31 00 80 03 01"},
        {FtdiChip::Ft4232h, 100, "8A 97 8C 85 86 C7 00 80 03 01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(ChipName(c.chip)) + " " + std::to_string(c.kHz));
        EXPECT_EQ(Hex(EncodeSetup(c.chip, c.kHz)), c.expected);
    }
    for (int kHz : {20, 100, 400, 750})
        EXPECT_EQ(IsSupportedSpeed(kHz), kHz == 100 || kHz == 400) << kHz;
    EXPECT_EQ(Hex(EncodeSync()), "AA AB");
    EXPECT_TRUE(IsSyncAnswer({0xFA, 0xAA, 0xFA, 0xAB}));
    EXPECT_FALSE(IsSyncAnswer({0xFA, 0xAA}));
}

TEST(MpsseEncoder, AnswerDecodesToAcksAndReadData) {
    const uint8_t two[] = {0x90, 0x40};
    const auto write2 = I2cMessage::Write(0x4A, two, 2);
    const auto read1 = I2cMessage::Read(0x4A, 1);
    const struct {
        const char* name;
        std::vector<I2cMessage> messages;
        Bytes answer;
        bool complete;
        int nackAt;
        const char* data;
    } cases[] = {
        {"all acknowledged", {write2}, {0x00, 0x00, 0x00}, true, -1, ""},
        {"only bit 0 is the ACK", {write2}, {0xFE, 0x00, 0x02}, true, -1, ""},
        {"address refused", {write2}, {0x01, 0x01, 0x01}, true, 0, ""},
        {"second data byte refused", {write2}, {0x00, 0x00, 0x01}, true, 2, ""},
        {"read", {read1}, {0x00, 0x5A}, true, -1, "5A"},
        {"read refused", {read1}, {0x01, 0xFF}, true, 0, "FF"},
        {"write then read", {write2, read1}, {0x00, 0x00, 0x00, 0x00, 0x40}, true, -1, "40"},
        {"short answer", {write2}, {0x00, 0x00}, false, -1, ""},
        {"long answer", {read1}, {0x00, 0x40, 0x00}, false, -1, "40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        I2cOutcome outcome;
        EXPECT_EQ(DecodeAnswer(c.messages, c.answer, &outcome), c.complete);
        if (!c.complete)
            continue;
        EXPECT_EQ(outcome.nackAt, c.nackAt);
        EXPECT_EQ(outcome.Acknowledged(), c.nackAt < 0);
        EXPECT_EQ(Hex(outcome.readData), c.data);
    }
}

TEST(FtdiSelection, DeviceSerialInterfaceAndModel) {
    const struct {
        const char* desc;
        bool model;
        FtdiChip chip;
        int index;
        const char* serial;
        char channel;
    } cases[] = {
        {"", false, FtdiChip::Ft232h, 0, "", 'A'},
        {"2", false, FtdiChip::Ft232h, 2, "", 'A'},
        {"FT1234AB", false, FtdiChip::Ft232h, 0, "FT1234AB", 'A'},
        {"b", false, FtdiChip::Ft232h, 0, "", 'B'},
        {"0:B", false, FtdiChip::Ft232h, 0, "", 'B'},
        {"FT1234AB:d", false, FtdiChip::Ft232h, 0, "FT1234AB", 'D'},
        {"model", true, FtdiChip::Ft232h, 0, "", 'A'},
        {"model:FT2232H", true, FtdiChip::Ft2232h, 0, "", 'A'},
        {"model:ft4232h", true, FtdiChip::Ft4232h, 0, "", 'A'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desc);
        FtdiSelection s;
        std::string error;
        ASSERT_TRUE(ParseFtdiSelection(c.desc, &s, &error)) << error;
        EXPECT_EQ(s.model, c.model);
        EXPECT_EQ(s.modelChip, c.chip);
        EXPECT_EQ(s.index, c.index);
        EXPECT_EQ(s.serial, c.serial);
        EXPECT_EQ(s.InterfaceLetter(), c.channel);
    }
    for (const char* bad : {"model:ft232r", "0:E", "0:AB", ":B"}) {
        FtdiSelection s;
        std::string error;
        EXPECT_FALSE(ParseFtdiSelection(bad, &s, &error)) << bad;
        EXPECT_EQ(error.rfind("--bus ftdi:", 0), 0u) << error;
    }
}

} // namespace
} // namespace rtd::host::ftdi
