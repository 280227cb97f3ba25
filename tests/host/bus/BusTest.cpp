// The bus objects: the tracing decorator, the trace file and the bus object over an
// adapter.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "AdapterBus.h"
#include "Trace.h"
#include "TracingBus.h"

namespace rtd::host {
namespace {

// Answers reads with a fixed byte, or fails them without touching the buffer.
class ScriptedBus : public TIicInterface {
public:
    bool IicWrite(uint8_t, int count, const uint8_t*) override {
        written += count;
        return true;
    }
    bool IicRead(uint8_t, int count, uint8_t* data) override {
        if (failReads)
            return false;
        std::memset(data, answer, static_cast<size_t>(count));
        return true;
    }
    int written = 0;
    uint8_t answer = 0x40;
    bool failReads = false;
};

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(TracingBus, RecordsEveryTransferAsTheBytesOnTheBus) {
    const std::string path = ::testing::TempDir() + "tracing-bus.trace";
    Trace trace;
    std::string error;
    ASSERT_TRUE(trace.Open(path, &error));
    ScriptedBus inner;
    TracingBus bus(&inner, &trace);

    const uint8_t entry[] = {0x36, 0x00};
    const uint8_t reg[] = {0x90};
    EXPECT_TRUE(bus.IicWrite(0x94, 2, entry));
    EXPECT_TRUE(bus.IicWrite(0x94, 1, reg));
    uint8_t status = 0xFF;
    EXPECT_TRUE(bus.IicRead(0x95, 1, &status));
    EXPECT_EQ(status, 0x40);
    inner.failReads = true;
    status = 0xFF;
    EXPECT_FALSE(bus.IicRead(0x95, 1, &status)); // the inner result is passed on
    EXPECT_TRUE(bus.IicWrite(0x96, 0, nullptr));
    std::vector<uint8_t> page(257, 0xAB);
    page[0] = 0x94;
    EXPECT_TRUE(bus.IicWrite(0x94, 257, page.data()));
    ASSERT_TRUE(trace.Close());

    std::string pageLine = "W 94 94";
    for (int i = 0; i < 256; ++i)
        pageLine += " AB";
    EXPECT_EQ(ReadAll(path), "W 94 36 00\nW 94 90\nR 95 40\nR 95 FF\nW 96\n" + pageLine + "\n");
    EXPECT_EQ(inner.written, 2 + 1 + 0 + 257);
}

TEST(Trace, UnopenedTraceDropsEventsAndBadPathIsReported) {
    Trace trace;
    trace.Event("L nothing");
    EXPECT_TRUE(trace.Close());
    std::string error;
    EXPECT_FALSE(trace.Open(::testing::TempDir() + "no-such-dir/x/t.trace", &error));
    EXPECT_NE(error.find("cannot create the trace file"), std::string::npos);
}

// The plug-in's bus object over an adapter: results passed on, failures counted with the
// first reason kept, and a failed read never reaches the plug-in's buffer.
TEST(AdapterBus, CountsFailuresKeepsTheFirstReasonAndLeavesFailedReadsAlone) {
    struct FlakyAdapter : I2cAdapter {
        AdapterCapabilities Capabilities() const override {
            AdapterCapabilities c;
            c.name = "flaky";
            return c;
        }
        bool Write(uint8_t, const uint8_t*, int, std::string* error) override {
            *error = "not acknowledged at byte 2";
            return ok;
        }
        bool Read(uint8_t, uint8_t* data, int count, std::string* error) override {
            std::memset(data, 0x40, static_cast<size_t>(count)); // a half-done transfer
            *error = "USB transfer failed: Operation timed out";
            return ok;
        }
        bool ok = true;
    } adapter;
    AdapterBus bus(&adapter);
    uint8_t status = 0xFF;
    const uint8_t exit[] = {0x90, 0x00};
    EXPECT_TRUE(bus.IicRead(0x95, 1, &status));
    EXPECT_EQ(status, 0x40);
    EXPECT_TRUE(bus.IicWrite(0x94, 2, exit));
    EXPECT_EQ(bus.FailureSummary(), "");

    adapter.ok = false;
    status = 0xFF;
    EXPECT_FALSE(bus.IicRead(0x95, 1, &status));
    EXPECT_EQ(status, 0xFF);
    EXPECT_FALSE(bus.IicWrite(0x94, 2, exit));
    EXPECT_FALSE(bus.IicWrite(0x94, -1, exit)); // never reaches the adapter
    EXPECT_EQ(bus.Failures(), 3);
    EXPECT_EQ(bus.FailureSummary(), "flaky: 3 bus transfers failed; the first: read of 1 byte at "
                                    "address 95: USB transfer failed: Operation timed out");
}

} // namespace
} // namespace rtd::host
