// The MCP2221A: the reports of each transfer shape, the adapter against the chip's answers
// as the public drivers decode them (taken before the bus moved, the NACK in the next
// status, speeds refused until a cancel), the adapter model's faults, and both HID
// transports run on stand-ins for the system calls under them.
#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <functional>
#include <map>
#include <numeric>

#include "ChipModel.h"
#include "HidrawPorts.h"
#include "I2cWireModel.h"
#include "Mcp2221Adapter.h"
#include "Mcp2221Bus.h"
#include "Mcp2221Encoder.h"
#include "Mcp2221Model.h"
#include "Recorders.h"
#include "WinHidPorts.h"

namespace rtd::host::mcp2221 {
namespace {

std::string Head(const Report& r, size_t n) {
    return rtd::test::HexBytes(r.data(), static_cast<int>(std::min(n, r.size())));
}

// A 64-byte answer: the bytes given, then zeros; `at` sets single bytes.
Report Answer(std::vector<uint8_t> head, std::map<size_t, uint8_t> at = {}) {
    head.resize(kReportSize, 0);
    for (const auto& [i, v] : at)
        head[i] = v;
    return head;
}

// A status answer: the engine's state, the NACK bit, the cancel and speed bytes.
Report StatusAnswer(uint8_t state, bool nack = false, uint8_t cancel = 0, uint8_t speed = 0) {
    return Answer({kStatus, 0, cancel, speed}, {{kStateByte, state}, {kAckByte, nack ? 0x40 : 0}});
}

TEST(Mcp2221Encoder, ReportsOfEveryTransferShape) {
    std::vector<uint8_t> page(257);
    std::iota(page.begin(), page.end(), uint8_t{0x94});
    const struct Case {
        const char* name;
        std::vector<Report> reports;
        std::vector<std::string> heads; // the first bytes of each report
    } cases[] = {
        {"write 2", WriteRequests(0x94, page.data() + 1, 2), {"90 02 00 94 95 96 00"}},
        {"write 257: five reports, each with the whole length",
         WriteRequests(0x94, page.data(), 257),
         {"90 01 01 94 94 95", "90 01 01 94 D0 D1", "90 01 01 94 0C 0D", "90 01 01 94 48 49",
          "90 01 01 94 84 85 86 87 88 89 8A 8B 8C 8D 8E 8F 90 91 92 93 94 00"}},
        {"read 1", {ReadRequest(0x95, 1)}, {"91 01 00 95 00"}},
        {"get data", {GetDataRequest()}, {"40 00"}},
        {"status", {StatusRequest()}, {"10 00 00 00 00"}},
        {"cancel", {StatusRequest(true)}, {"10 00 10 00 00"}},
        {"100 kHz: 12 MHz / 100 kHz - 2",
         {StatusRequest(false, SpeedDivider(100))},
         {"10 00 00 20 76"}},
        {"400 kHz", {StatusRequest(false, SpeedDivider(400))}, {"10 00 00 20 1C"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.reports.size(), c.heads.size()) << c.name;
        for (size_t i = 0; i < c.reports.size(); ++i) {
            EXPECT_EQ(c.reports[i].size(), kReportSize) << c.name;
            const size_t n = (c.heads[i].size() + 1) / 3;
            EXPECT_EQ(Head(c.reports[i], n), c.heads[i]) << c.name << " report " << i;
        }
    }
    EXPECT_EQ(SpeedDivider(750), -1);
    EXPECT_EQ(DividerKhz(static_cast<uint8_t>(SpeedDivider(400))), 400);
}

// Plays the chip's side from a script: each request must start as given, and gets the
// answer beside it.
class ScriptedLink : public ByteLink {
public:
    struct Step {
        std::string request;
        Report answer;
    };
    explicit ScriptedLink(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {}
    bool Send(const std::vector<uint8_t>& data, std::string* error) override {
        if (steps_.empty()) {
            *error = "script ended before " + Head(data, 5);
            return false;
        }
        const Step& s = steps_.front();
        EXPECT_EQ(Head(data, (s.request.size() + 1) / 3), s.request);
        answer_ = s.answer;
        steps_.pop_front();
        return true;
    }
    bool Receive(size_t, std::vector<uint8_t>* data, std::string*) override {
        *data = answer_;
        return true;
    }
    size_t Left() const { return steps_.size(); }

private:
    std::deque<Step> steps_;
    Report answer_;
};

TEST(Mcp2221Adapter, ReadsTheChipsAnswersAndRecoversAfterAFailure) {
    const Report taken = Answer({kWrite, kTaken});
    const Report idle = StatusAnswer(kIdle);
    const Report nacked = StatusAnswer(kAddressNack, true);
    // Cancelling an engine that is not idle, then the status that shows it idle.
    const std::vector<ScriptedLink::Step> cancel = {
        {"10 00 00", nacked},
        {"10 00 10", StatusAnswer(kAddressNack, true, kCancelling)},
        {"10 00 00", idle}};
    const auto with = [](std::vector<ScriptedLink::Step> a,
                         const std::vector<ScriptedLink::Step>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct Case {
        const char* name;
        char op; // B: begin at 400 kHz, W: write 1 byte at 94, R: read 1 byte at 95
        std::vector<ScriptedLink::Step> script;
        std::string error; // empty: succeeds
    } cases[] = {
        {"write taken, then idle", 'W', {{"90 01 00 94 90", taken}, {"10 00 00", idle}}, ""},
        {"a write answered busy is sent again",
         'W',
         {{"90 01 00 94", Answer({kWrite, kBusy})}, {"90 01 00 94", taken}, {"10 00 00", idle}},
         ""},
        {"still moving: the status is asked again",
         'W',
         {{"90", taken}, {"10", StatusAnswer(kSendingData)}, {"10", idle}},
         ""},
        // The write report is taken although nobody acknowledged the address.
        {"address NACK shows in the status, then a cancel", 'W',
         with({{"90 01 00 94", taken}, {"10 00 00", nacked}}, cancel), "address not acknowledged"},
        {"data NACK: the byte after those transferred", 'W',
         with({{"90", taken}, {"10", Answer({kStatus, 0}, {{8, 0x41}, {11, 0}, {20, 0x40}})}},
              cancel),
         "not acknowledged at data byte 1"},
        {"timeout state", 'W', with({{"90", taken}, {"10", StatusAnswer(0x44)}}, cancel),
         "I2C timeout (state 44): SCL or SDA held low?"},
        {"answer to another command", 'W',
         with({{"90", StatusAnswer(kIdle)}}, {{"10 00 00", idle}}),
         "unexpected answer from the MCP2221A (10 to a 90 request)"},
        {"read: requested, then fetched",
         'R',
         {{"91 01 00 95", Answer({kRead, kTaken})},
          {"40", Answer({kGetData, kNoData})},
          {"40", Answer({kGetData, kTaken, kReadDone, 1, 0x5A})}},
         ""},
        {"read NACK", 'R',
         with({{"91 01 00 95", Answer({kRead, kTaken})},
               {"40", Answer({kGetData, kTaken, kAddressNack, kReadError})}},
              cancel),
         "address not acknowledged"},
        {"read answered with more bytes than asked", 'R',
         with({{"91", Answer({kRead, kTaken})}, {"40", Answer({kGetData, kTaken, kReadDone, 2})}},
              {{"10 00 00", idle}}),
         "the MCP2221A returned more bytes than were read"},
        {"begin on an idle engine: no cancel",
         'B',
         {{"10 00 00 00", idle}, {"10 00 00 20 1C", StatusAnswer(kIdle, false, 0, kSpeedTaken)}},
         ""},
        // After a NACK the chip refuses speeds until a cancel.
        {"begin after a NACK: cancel, then the speed", 'B',
         with(cancel, {{"10 00 00 20 1C", StatusAnswer(kIdle, false, 0, kSpeedTaken)}}), ""},
        {"speed refused: cancel and ask again", 'B',
         with(with({{"10 00 00 00", idle},
                    {"10 00 00 20 1C", StatusAnswer(kAddressNack, true, 0, kSpeedRefused)}},
                   cancel),
              {{"10 00 00 20 1C", StatusAnswer(kIdle, false, 0, kSpeedTaken)}}),
         ""},
    };
    for (const Case& c : cases) {
        ScriptedLink link(c.script);
        Mcp2221Adapter adapter(&link, "mcp2221:0");
        std::string error;
        uint8_t byte = 0x90;
        const bool ok = c.op == 'B'   ? adapter.Begin(400, &error)
                        : c.op == 'W' ? adapter.Write(0x94, &byte, 1, &error)
                                      : adapter.Read(0x95, &byte, 1, &error);
        EXPECT_EQ(ok, c.error.empty()) << c.name << ": " << error;
        if (!c.error.empty()) {
            EXPECT_EQ(error, c.error) << c.name;
        } else if (c.op == 'R') {
            EXPECT_EQ(byte, 0x5A) << c.name;
        }
        EXPECT_EQ(link.Left(), 0u) << c.name << ": the script was not played to its end";
    }
}

// The adapter on the model, with the wires and the chip model behind it.
struct ModelRig {
    ModelRig() { EXPECT_TRUE(adapter.Begin(100, &error)) << error; }
    bool Probe() {
        const uint8_t reg = 0x90;
        uint8_t status = 0xFF;
        return adapter.Write(0x94, &reg, 1, &error) && adapter.Read(0x95, &status, 1, &error);
    }
    sim::ChipModel chip;
    I2cWireModel wire{&chip};
    Mcp2221Model model{&wire};
    Mcp2221Adapter adapter{&model, "mcp2221:model"};
    std::string error;
};

TEST(Mcp2221Model, FaultsGiveOneReasonAndTheNextTransferWorks) {
    const struct Case {
        const char* fault;
        std::string error;
    } cases[] = {
        // Transactions count from 1: the first probe is 1 and 2, the second starts at 3.
        {"nack-address", "address not acknowledged"},
        {"nack-data=3:1", "not acknowledged at data byte 1"},
        {"engine-busy=3", "the MCP2221A's I2C engine stayed busy"},
    };
    for (const Case& c : cases) {
        ModelRig rig;
        std::string reason;
        ASSERT_TRUE(Mcp2221Model::Knows(c.fault) ? rig.model.AddFault(c.fault, &reason)
                                                 : rig.wire.AddFault(c.fault, &reason))
            << reason;
        ASSERT_TRUE(c.fault == std::string("nack-address") || rig.Probe()) << rig.error;
        EXPECT_FALSE(rig.Probe()) << c.fault;
        EXPECT_EQ(rig.error, c.error) << c.fault;
        if (c.fault != std::string("nack-address")) {
            EXPECT_TRUE(rig.Probe()) << c.fault << ": " << rig.error;
        }
        EXPECT_EQ(rig.model.BadReports(), 0) << c.fault;
    }
}

TEST(Mcp2221Model, RefusesSpeedsAfterANackUntilACancelAndCountsStrayReports) {
    ModelRig rig;
    std::string reason;
    ASSERT_TRUE(rig.wire.AddFault("nack-address", &reason));
    const auto exchange = [&](const Report& request) {
        Report answer;
        EXPECT_TRUE(rig.model.Send(request, &reason) &&
                    rig.model.Receive(kReportSize, &answer, &reason));
        return answer;
    };
    const uint8_t byte = 0;
    EXPECT_EQ(exchange(WriteRequests(0x94, &byte, 1)[0])[1], kTaken);
    EXPECT_EQ(exchange(StatusRequest(false, SpeedDivider(400)))[3], kSpeedRefused);
    EXPECT_EQ(exchange(StatusRequest(true))[2], kCancelling);
    EXPECT_EQ(exchange(StatusRequest(false, SpeedDivider(400)))[3], kSpeedTaken);
    EXPECT_EQ(rig.model.SpeedKhz(), 400);
    EXPECT_EQ(exchange(StatusRequest(true))[2], kAlreadyIdle);
    // A report of the wrong size and an unknown command get no answer.
    EXPECT_TRUE(rig.model.Send(Report(10, 0), &reason));
    Report answer;
    EXPECT_FALSE(rig.model.Receive(kReportSize, &answer, &reason));
    EXPECT_TRUE(rig.model.Send(Answer({0x77}), &reason));
    EXPECT_FALSE(rig.model.Receive(kReportSize, &answer, &reason));
    EXPECT_EQ(rig.model.BadReports(), 2);
}

// The device behind a stand-in for the system calls: the model, the wires, the chip, and
// the input reports waiting to be read, as the system queues them.
struct Device {
    enum class Trouble { None, Silent, Unplugged, Stale };
    explicit Device(Trouble t) : trouble(t) {
        if (t == Trouble::Stale) // an answer an earlier run never read
            waiting.push_back(StatusAnswer(kIdle));
    }
    bool Take(const uint8_t* data, size_t size) {
        std::string ignored;
        Report answer;
        // The report ID first, then the 64 bytes.
        if (size != kReportSize + 1 || data[0] != 0 ||
            !model.Send(Report(data + 1, data + size), &ignored))
            return false;
        if (model.Receive(kReportSize, &answer, &ignored))
            waiting.push_back(answer);
        return true;
    }
    long Give(uint8_t* data, size_t size) {
        if (waiting.empty() || size < kReportSize)
            return 0;
        std::copy(waiting.front().begin(), waiting.front().end(), data);
        waiting.pop_front();
        return static_cast<long>(kReportSize);
    }
    sim::ChipModel chip;
    I2cWireModel wire{&chip};
    Mcp2221Model model{&wire};
    Trouble trouble;
    std::deque<Report> waiting;
};

// hidraw: the uevents of three HID devices, two of them MCP2221A.
class FakeHidraw : public HidrawCalls {
public:
    explicit FakeHidraw(Device* device, int openError) : device_(device), openError_(openError) {}
    std::vector<std::string> ClassEntries() override { return {"hidraw10", "hidraw0", "hidraw2"}; }
    bool ReadText(const std::string& path, std::string* text) override {
        const std::map<std::string, std::string> files = {
            {"/sys/class/hidraw/hidraw0/device/uevent",
             "DRIVER=hid-generic\nHID_ID=0003:0000046D:0000C52B\n"},
            {"/sys/class/hidraw/hidraw2/device/uevent",
             "HID_ID=0003:000004D8:000000DD\nHID_NAME=Microchip MCP2221\nHID_UNIQ=0001234\n"},
            {"/sys/class/hidraw/hidraw10/device/uevent", "HID_ID=0003:000004D8:000000DD\n"}};
        const auto it = files.find(path);
        return it != files.end() && (*text = it->second, true);
    }
    int OpenLocked(const std::string& path) override {
        opened = path;
        return openError_ ? -openError_ : 7;
    }
    long Write(int fd, const uint8_t* data, size_t size) override {
        if (device_->trouble == Device::Trouble::Unplugged)
            return -ENODEV;
        return fd == 7 && device_->Take(data, size) ? static_cast<long>(size) : -EIO;
    }
    long Read(int, uint8_t* data, size_t size, int) override {
        return device_->trouble == Device::Trouble::Silent ? 0 : device_->Give(data, size);
    }
    void Close(int) override {}
    std::string ErrorText(int error) override { return "error " + std::to_string(error); }
    std::string opened;

private:
    Device* device_;
    int openError_;
};

// The Windows HID API: one MCP2221A among the HID interfaces.
class FakeWinHid : public WinHidCalls {
public:
    explicit FakeWinHid(Device* device, unsigned long openError)
        : device_(device), openError_(openError) {}
    std::vector<std::string> DevicePaths() override {
        return {"\\\\?\\hid#vid_046d&pid_c52b", "\\\\?\\hid#vid_04d8&pid_00dd"};
    }
    Handle Open(const std::string& path, bool exclusive, unsigned long* error) override {
        if (exclusive && openError_) {
            *error = openError_;
            return nullptr;
        }
        if (exclusive)
            opened = path;
        return const_cast<char*>(path.find("04d8") != std::string::npos ? "mcp" : "other");
    }
    bool Attributes(Handle h, unsigned* vendor, unsigned* product) override {
        const bool mcp = std::string(static_cast<char*>(h)) == "mcp";
        *vendor = mcp ? kVendor : 0x046D;
        *product = mcp ? kProduct : 0xC52B;
        return true;
    }
    std::string Serial(Handle) override { return "0001234"; }
    bool Write(Handle, const uint8_t* data, size_t size, int, unsigned long* error) override {
        if (device_->trouble == Device::Trouble::Unplugged)
            return (*error = kWinNotConnected, false);
        return device_->Take(data, size) || (*error = 31, false);
    }
    bool Read(Handle, uint8_t* data, size_t size, size_t* got, int, unsigned long* error) override {
        if (device_->trouble == Device::Trouble::Silent)
            return (*error = kWinTimeout, false);
        // The report ID first.
        data[0] = 0;
        *got = static_cast<size_t>(device_->Give(data + 1, size - 1)) + 1;
        return true;
    }
    void Flush(Handle) override { device_->waiting.clear(); }
    void Close(Handle) override {}
    std::string ErrorText(unsigned long error) override { return "error " + std::to_string(error); }
    std::string opened;

private:
    Device* device_;
    unsigned long openError_;
};

TEST(Mcp2221Transports, ListOpenProbeAndFailAsTheSystemCallsDo) {
    const struct Case {
        const char* name;
        bool windows;
        int index;
        long openError; // errno or Windows error; 0: opens
        Device::Trouble trouble;
        std::string opened; // the device claimed
        std::string answer; // the probe's line, or the open's error
    } cases[] = {
        {"hidraw: mcp2221:0 is the lower node", false, 0, 0, Device::Trouble::None, "/dev/hidraw2",
         "chip answers at 0x4A (status 00)"},
        {"hidraw: mcp2221:1", false, 1, 0, Device::Trouble::None, "/dev/hidraw10",
         "chip answers at 0x4A (status 00)"},
        {"hidraw: no third", false, 2, 0, Device::Trouble::None, "",
         "no MCP2221A (USB 04d8:00dd) at index 2: plug it in (`isphost buses` lists what is "
         "attached)"},
        {"hidraw: held by another program", false, 0, EWOULDBLOCK, Device::Trouble::None,
         "/dev/hidraw2",
         "bus busy: another program holds the MCP2221A on /dev/hidraw2 (one "
         "command at a time)"},
        {"hidraw: no udev rule", false, 0, EACCES, Device::Trouble::None, "/dev/hidraw2",
         "no permission to open the MCP2221A on /dev/hidraw2: install "
         "host/udev/60-rtd2120-adapters.rules (docs/ADAPTERS.md)"},
        {"hidraw: no answer", false, 0, 0, Device::Trouble::Silent, "/dev/hidraw2",
         "USB transfer failed: Operation timed out"},
        {"hidraw: an answer left by an earlier run is drained", false, 0, 0, Device::Trouble::Stale,
         "/dev/hidraw2", "chip answers at 0x4A (status 00)"},
        {"windows: an answer left by an earlier run is flushed", true, 0, 0, Device::Trouble::Stale,
         "\\\\?\\hid#vid_04d8&pid_00dd", "chip answers at 0x4A (status 00)"},
        {"hidraw: unplugged", false, 0, 0, Device::Trouble::Unplugged, "/dev/hidraw2",
         "USB transfer failed: No such device (it may have been disconnected)"},
        {"windows: the MCP2221A among the HID devices", true, 0, 0, Device::Trouble::None,
         "\\\\?\\hid#vid_04d8&pid_00dd", "chip answers at 0x4A (status 00)"},
        {"windows: held by another program", true, 0, kWinSharingViolation, Device::Trouble::None,
         "", "bus busy: another program holds the MCP2221A (one command at a time)"},
        {"windows: no answer", true, 0, 0, Device::Trouble::Silent, "\\\\?\\hid#vid_04d8&pid_00dd",
         "USB transfer failed: Operation timed out"},
        {"windows: unplugged", true, 0, 0, Device::Trouble::Unplugged,
         "\\\\?\\hid#vid_04d8&pid_00dd",
         "USB transfer failed: No such device (it may have been disconnected)"},
    };
    for (const Case& c : cases) {
        Device device(c.trouble);
        FakeHidraw hidraw(&device, static_cast<int>(c.openError));
        FakeWinHid winHid(&device, static_cast<unsigned long>(c.openError));
        HidrawPorts linuxPorts(&hidraw);
        WinHidPorts windowsPorts(&winHid);
        Mcp2221Ports& ports = c.windows ? static_cast<Mcp2221Ports&>(windowsPorts) : linuxPorts;
        Trace trace;
        std::string error;
        auto bus = OpenMcp2221Device(ports, c.index, 100, &trace, &error);
        EXPECT_EQ(bus ? bus->Probe().Describe() : error, c.answer) << c.name;
        EXPECT_EQ(c.windows ? winHid.opened : hidraw.opened, c.opened) << c.name;
    }
}

TEST(Mcp2221Transports, ListingNamesEachDeviceAndProbesIt) {
    Device device(Device::Trouble::None);
    FakeHidraw hidraw(&device, 0);
    HidrawPorts ports(&hidraw);
    std::string note;
    const std::vector<BusListing> list = ListMcp2221Devices(ports, &note);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].bus, "mcp2221:0");
    EXPECT_EQ(list[0].what, "MCP2221A on /dev/hidraw2 serial 0001234");
    EXPECT_EQ(list[1].what, "MCP2221A on /dev/hidraw10");
    EXPECT_EQ(list[1].answer, "chip answers at 0x4A (status 00)");
    EXPECT_TRUE(IsMcp2221HidId("0003:000004D8:000000DD"));
    EXPECT_FALSE(IsMcp2221HidId("0005:000004D8:000000DD")); // Bluetooth, not USB
}

} // namespace
} // namespace rtd::host::mcp2221
