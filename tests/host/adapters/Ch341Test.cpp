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

// The bulk transfer of one transaction, as its 32-byte packets.
std::vector<std::string> Packets(const Transfer& t) {
    std::vector<std::string> packets;
    for (size_t at = 0; at < t.bytes.size(); at += kPacketSize)
        packets.push_back(Hex(std::vector<uint8_t>(
            t.bytes.begin() + static_cast<long>(at),
            t.bytes.begin() + static_cast<long>(std::min(at + kPacketSize, t.bytes.size())))));
    return packets;
}

// Every shape the plug-in sends, written from the stream's command table: START, the
// address byte as a bare 0x80 (its acknowledge answered), the data in 0x80+n blocks,
// STOP, END; a read's bytes by 0xC0+n and a last bare 0xC0; packets chained on 32-byte
// boundaries, each opened by 0xAA.
TEST(Ch341Encoder, OneTransferOfChainedPacketsPerTransaction) {
    const std::vector<uint8_t> page = PageWrite();
    const std::string pad27 = " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                              "00 00 00 00 00 00";
    const struct Case {
        const char* name;
        bool read;
        uint8_t address;
        std::vector<uint8_t> data; // written, or for a read just its length matters
        std::vector<std::pair<int, std::string>> packets; // by index, -1 the last
        size_t count;
        size_t answers;
    } cases[] = {
        {"address alone", false, 0x96, {}, {{0, "AA 74 80 96 75 00"}}, 1, 1},
        {"write 1", false, 0x94, {0x90}, {{0, "AA 74 80 94 81 90 75 00"}}, 1, 1},
        {"write 2", false, 0x94, {0x90, 0x40}, {{0, "AA 74 80 94 82 90 40 75 00"}}, 1, 1},
        {"write 3", false, 0x96, {0x92, 0x12, 0x00}, {{0, "AA 74 80 96 83 92 12 00 75 00"}}, 1, 1},
        {"read 1", true, 0x95, {0xFF}, {{0, "AA 74 80 95 C0 75 00"}}, 1, 2},
        {"read 40",
         true,
         0x95,
         std::vector<uint8_t>(40),
         {{0, "AA 74 80 95 DD" + pad27}, {1, "AA CA C0 75 00"}},
         2,
         41},
        // 26 data bytes after the address, 29 in each full packet, 28 and STOP in the last.
        {"page write",
         false,
         0x94,
         page,
         {{0, "AA 74 80 94 9A 94 95 96 97 98 99 9A 9B 9C 9D 9E 9F A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 "
              "AA AB AC AD 00"},
          {1, "AA 9D AE AF B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF C0 C1 C2 C3 C4 C5 C6 "
              "C7 C8 C9 CA 00"},
          {-1, "AA 9C 79 7A 7B 7C 7D 7E 7F 80 81 82 83 84 85 86 87 88 89 8A 8B 8C 8D 8E 8F 90 91 "
               "92 93 94 75 00"}},
         9,
         1},
    };
    for (const Case& c : cases) {
        const int count = static_cast<int>(c.data.size());
        const Transfer t =
            c.read ? EncodeRead(c.address, count) : EncodeWrite(c.address, c.data.data(), count);
        const std::vector<std::string> packets = Packets(t);
        ASSERT_EQ(packets.size(), c.count) << c.name;
        for (const auto& [index, hex] : c.packets)
            EXPECT_EQ(packets[index < 0 ? packets.size() - 1 : static_cast<size_t>(index)], hex)
                << c.name << " packet " << index;
        EXPECT_EQ(t.answerSize, c.answers) << c.name;
    }
    Transfer speed;
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
    // What the adapter is not known to take: a packet without the stream byte, a command cut
    // off by the packet's end, a second bare 0x80 in one packet, a second packet that does
    // not start on the 32-byte boundary.
    std::vector<uint8_t> misaligned = EncodeWrite(0x94, page.data(), 257).bytes;
    misaligned.erase(misaligned.begin() + 31);
    const std::vector<uint8_t> bad[] = {{0x74, 0x80, 0x94, 0x00},
                                        {0xAA, 0x74, 0x85, 0x94, 0x90},
                                        {0xAA, 0x74, 0x80, 0x94, 0x80, 0x90, 0x75, 0x00},
                                        misaligned};
    for (const std::vector<uint8_t>& transfer : bad) {
        const int before = rig.model.FramingErrors();
        ASSERT_TRUE(rig.model.Send(transfer, &error));
        EXPECT_GT(rig.model.FramingErrors(), before) << Hex(transfer);
    }
}

// The address byte's acknowledge is the only one the adapter reports: a refused data byte
// goes unseen (the chip sees the write cut short, and the plug-in's CRC finds it).
TEST(Ch341Adapter, AddressNacksAndUsbFailuresFailTheTransferWithTheirReason) {
    const struct Case {
        const char* fault;
        bool read;
        std::string reason; // empty: the transfer succeeds
        int chipWrites;     // what the chip saw of the write
    } cases[] = {
        {"nack-address", false, "address not acknowledged", 0},
        {"nack-address", true, "address not acknowledged", 0},
        {"nack-data=1:100", false, "", 1},
        {"usb-fail=1", false, "USB transfer failed: Operation timed out", 0},
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
        EXPECT_EQ(ok, c.reason.empty()) << c.fault;
        EXPECT_EQ(ok ? "" : error, c.reason) << c.fault;
        EXPECT_EQ(rig.adapter.LinkFailed(), !I2cWireModel::Knows(c.fault)) << c.fault;
        EXPECT_EQ(rig.chip.Stats().writes, c.chipWrites) << c.fault;
        EXPECT_EQ(rig.chip.Stats().pagesProgrammed, 0) << c.fault;
        EXPECT_EQ(rig.model.FramingErrors(), 0) << c.fault;
    }
    Rig rig;
    std::string error;
    EXPECT_FALSE(rig.wire.AddFault("nack-data=3", &error));
    EXPECT_FALSE(rig.faulty.AddFault("unplug=0", &error));
}

} // namespace
} // namespace rtd::host::ch341
