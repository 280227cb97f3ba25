// The CH341A: the stream packets of each transfer shape the plug-in uses, the adapter
// model decoding them into the chip model, and the adapter's failures.
#include <gtest/gtest.h>

#include <numeric>

#include "Ch341Adapter.h"
#include "Ch341Encoder.h"
#include "Ch341Model.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "Recorders.h"

namespace rtd::host::ch341 {
namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
    return rtd::test::HexBytes(bytes.data(), static_cast<int>(bytes.size()));
}

std::vector<uint8_t> PageWrite() {
    std::vector<uint8_t> page(257);
    std::iota(page.begin(), page.end(), uint8_t{0x94}); // the page register, then 95, 96, ...
    return page;
}

TEST(Ch341Encoder, PacketsOfEveryTransferShape) {
    const std::vector<uint8_t> page = PageWrite();
    const struct Case {
        const char* name;
        bool read;
        uint8_t address;
        std::vector<uint8_t> data;      // written, or for a read just its length matters
        std::vector<std::string> first; // the first packets
        std::string last;
        size_t packets;
        size_t answers; // bytes the adapter answers in all
    } cases[] = {
        {"write 1", false, 0x94, {0x90}, {"AA 74 80 94 80 90 75 00"}, "", 1, 2},
        {"write 2", false, 0x94, {0x90, 0x40}, {"AA 74 80 94 80 90 80 40 75 00"}, "", 1, 3},
        {"write 3",
         false,
         0x96,
         {0x92, 0x12, 0x00},
         {"AA 74 80 96 80 92 80 12 80 00 75 00"},
         "",
         1,
         4},
        {"read 1", true, 0x95, {0xFF}, {"AA 74 80 95 C0 75 00"}, "", 1, 2},
        // 14 bytes fit the first packet, 15 each later one: 18 packets for 258 bus bytes.
        {"write 257",
         false,
         0x94,
         std::vector<uint8_t>(page.begin(), page.end()),
         {"AA 74 80 94 80 94 80 95 80 96 80 97 80 98 80 99 80 9A 80 9B 80 9C 80 9D 80 9E 80 9F "
          "80 A0 00",
          "AA 80 A1 80 A2 80 A3 80 A4 80 A5 80 A6 80 A7 80 A8 80 A9 80 AA 80 AB 80 AC 80 AD 80 "
          "AE 80 AF 00"},
         "AA 80 91 80 92 80 93 80 94 75 00",
         18,
         258},
    };
    for (const Case& c : cases) {
        const int count = static_cast<int>(c.data.size());
        const std::vector<Packet> packets =
            c.read ? EncodeRead(c.address, count) : EncodeWrite(c.address, c.data.data(), count);
        ASSERT_EQ(packets.size(), c.packets) << c.name;
        for (size_t i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(Hex(packets[i].bytes), c.first[i]) << c.name << " packet " << i;
        if (!c.last.empty()) {
            EXPECT_EQ(Hex(packets.back().bytes), c.last) << c.name;
        }
        size_t answers = 0;
        for (const Packet& p : packets) {
            EXPECT_LE(p.bytes.size(), kPacketSize) << c.name;
            EXPECT_EQ(p.bytes.front(), kStream) << c.name;
            EXPECT_EQ(p.bytes.back(), kEnd) << c.name;
            answers += p.answerSize;
        }
        EXPECT_EQ(answers, c.answers) << c.name;
    }
    Packet speed;
    ASSERT_TRUE(EncodeSpeed(750, &speed));
    EXPECT_EQ(Hex(speed.bytes), "AA 63 00");
    EXPECT_FALSE(EncodeSpeed(300, &speed));
}

// The adapter and its model: what reaches the chip model is the plug-in's transfer, byte
// for byte, and what comes back is what the chip answered.
struct Rig {
    Rig() : wire(&chip), model(&wire), faulty(&model), adapter(&faulty, "ch341:model") {}
    sim::ChipModel chip;
    I2cWireModel wire;
    Ch341Model model;
    FaultyLink faulty;
    Ch341Adapter adapter;
};

TEST(Ch341Model, PlaysEachTransferIntoTheChipAsOneTransaction) {
    Rig rig;
    std::string error;
    ASSERT_TRUE(rig.adapter.SetSpeed(400, &error));
    EXPECT_EQ(rig.model.SpeedKhz(), 400);
    const uint8_t select[] = {0x90, 0x40}, entry[] = {0x36, 0x00}, status[] = {0x90};
    ASSERT_TRUE(rig.adapter.Write(0x94, select, 2, &error)) << error;
    ASSERT_TRUE(rig.adapter.Write(0x94, entry, 2, &error)) << error;
    ASSERT_TRUE(rig.adapter.Write(0x94, status, 1, &error)) << error;
    uint8_t value = 0;
    ASSERT_TRUE(rig.adapter.Read(0x95, &value, 1, &error)) << error;
    EXPECT_EQ(value, 0x40);
    EXPECT_TRUE(rig.chip.InIsp());

    const std::vector<uint8_t> page = PageWrite();
    const uint8_t address[] = {0x92, 0x03, 0x00};
    ASSERT_TRUE(rig.adapter.Write(0x96, address, 3, &error));
    ASSERT_TRUE(rig.adapter.Write(0x94, page.data(), 257, &error)) << error;
    EXPECT_EQ(
        std::vector<uint8_t>(rig.chip.Flash(0).begin() + 0x300, rig.chip.Flash(0).begin() + 0x400),
        std::vector<uint8_t>(page.begin() + 1, page.end()));
    EXPECT_EQ(rig.chip.Stats().writes, 5);
    EXPECT_EQ(rig.chip.Stats().reads, 1);

    // The unanswered 0x80+n form, as the maker's DLL sends it, reaches the chip the same.
    const std::vector<uint8_t> leave = {0xAA, 0x74, 0x83, 0x94, 0x90, 0x00, 0x75, 0x00};
    ASSERT_TRUE(rig.model.Send(leave, &error));
    EXPECT_FALSE(rig.chip.InIsp());
    EXPECT_EQ(rig.model.FramingErrors(), 0);
    // A packet without the stream byte, and a command cut off by the packet's end.
    ASSERT_TRUE(rig.model.Send({0x74, 0x80, 0x94, 0x00}, &error));
    ASSERT_TRUE(rig.model.Send({0xAA, 0x74, 0x85, 0x94, 0x90}, &error));
    EXPECT_EQ(rig.model.FramingErrors(), 2);
}

TEST(Ch341Adapter, NacksAndUsbFailuresFailTheTransferWithTheirReason) {
    const struct Case {
        const char* fault;
        bool read;
        std::string reason;
        int chipWrites; // what the chip saw of the cut-short write
    } cases[] = {
        {"nack-address", false, "address not acknowledged", 0},
        {"nack-address", true, "address not acknowledged", 0},
        {"nack-data=1:100", false, "not acknowledged at data byte 100", 1},
        {"usb-fail=2", false, "USB transfer failed: Operation timed out", 1},
        {"unplug=2", true, "USB transfer failed: No such device (it may have been disconnected)",
         0},
    };
    for (const Case& c : cases) {
        Rig rig;
        std::string error;
        ASSERT_TRUE(I2cWireModel::Knows(c.fault) ? rig.wire.AddFault(c.fault, &error)
                                                 : rig.faulty.AddFault(c.fault, &error))
            << error;
        const std::vector<uint8_t> page = PageWrite();
        uint8_t value = 0x5A;
        const bool ok = c.read ? rig.adapter.Read(0x95, &value, 1, &error)
                               : rig.adapter.Write(0x94, page.data(), 257, &error);
        EXPECT_FALSE(ok) << c.fault;
        EXPECT_EQ(error, c.reason) << c.fault;
        EXPECT_EQ(rig.adapter.LinkFailed(), !I2cWireModel::Knows(c.fault)) << c.fault;
        // The transaction has ended: the chip got at most the bytes before the failure,
        // and the next transaction works.
        EXPECT_EQ(rig.chip.Stats().writes, c.chipWrites) << c.fault;
        EXPECT_EQ(rig.chip.Stats().pagesProgrammed, 0) << c.fault;
    }
    Rig rig;
    std::string error;
    EXPECT_FALSE(rig.wire.AddFault("nack-data=3", &error));
    EXPECT_FALSE(rig.faulty.AddFault("unplug=0", &error));
}

} // namespace
} // namespace rtd::host::ch341
