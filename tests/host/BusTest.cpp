// The bus back ends: the tracing decorator and, on Linux, the i2c-dev adapter with the
// system calls replaced.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "Trace.h"
#include "TracingBus.h"

#if defined(__linux__)
#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include "linux/I2cDevBus.h"
#endif

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

#if defined(__linux__)

// A fake kernel: records each I2C_RDWR request and answers reads from a script.
struct FakeKernel {
    struct Request {
        int fd;
        unsigned long request;
        uint16_t addr;
        uint16_t flags;
        std::vector<uint8_t> bytes;
        uint32_t nmsgs;
    };
    std::vector<Request> requests;
    std::string openedPath;
    int openFlags = 0;
    int openResult = 7;
    int ioctlResult = 0;
    int error = 0;
    bool closed = false;
    uint8_t readAnswer = 0x40;

    I2cDevSystem System() {
        I2cDevSystem s;
        s.open = [this](const char* path, int flags) {
            openedPath = path;
            openFlags = flags;
            if (openResult < 0)
                error = ENOENT;
            return openResult;
        };
        s.ioctl = [this](int fd, unsigned long request, void* argument) {
            auto* data = static_cast<i2c_rdwr_ioctl_data*>(argument);
            const i2c_msg& m = data->msgs[0];
            if (m.flags & I2C_M_RD)
                std::memset(m.buf, readAnswer, m.len); // the kernel may fill before failing
            requests.push_back({fd, request, m.addr, m.flags,
                                std::vector<uint8_t>(m.buf, m.buf + m.len), data->nmsgs});
            if (ioctlResult < 0)
                error = EREMOTEIO;
            return ioctlResult;
        };
        s.close = [this](int) {
            closed = true;
            return 0;
        };
        s.lastError = [this] { return error; };
        return s;
    }
};

TEST(I2cDevBus, OneRdwrMessagePerCallWithTheSevenBitAddress) {
    FakeKernel kernel;
    std::string error;
    auto bus = I2cDevBus::Open("/dev/i2c-4", kernel.System(), &error);
    ASSERT_TRUE(bus) << error;
    EXPECT_EQ(kernel.openedPath, "/dev/i2c-4");

    const uint8_t address[] = {0x92, 0x12, 0x00};
    std::vector<uint8_t> page(257, 0x5A);
    EXPECT_TRUE(bus->IicWrite(0x96, 3, address));
    EXPECT_TRUE(bus->IicWrite(0x94, 257, page.data()));
    uint8_t status = 0xFF;
    EXPECT_TRUE(bus->IicRead(0x95, 1, &status));
    EXPECT_EQ(status, 0x40);

    const struct {
        uint16_t addr;
        uint16_t flags;
        size_t length;
    } expected[] = {{0x4B, 0, 3}, {0x4A, 0, 257}, {0x4A, I2C_M_RD, 1}};
    ASSERT_EQ(kernel.requests.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const auto& r = kernel.requests[i];
        EXPECT_EQ(r.fd, 7);
        EXPECT_EQ(r.request, static_cast<unsigned long>(I2C_RDWR));
        EXPECT_EQ(r.nmsgs, 1u);
        EXPECT_EQ(r.addr, expected[i].addr) << i;
        EXPECT_EQ(r.flags, expected[i].flags) << i;
        EXPECT_EQ(r.bytes.size(), expected[i].length) << i;
    }
    EXPECT_EQ(kernel.requests[0].bytes, std::vector<uint8_t>(address, address + 3));
    EXPECT_EQ(kernel.requests[1].bytes, page);
    EXPECT_EQ(bus->Failures(), 0);
    bus.reset();
    EXPECT_TRUE(kernel.closed);
}

TEST(I2cDevBus, FailedTransfersAreReportedOnceAndLeaveTheReadBufferAlone) {
    FakeKernel kernel;
    std::string error;
    auto bus = I2cDevBus::Open("/dev/i2c-1", kernel.System(), &error);
    ASSERT_TRUE(bus);
    std::vector<std::string> reports;
    bus->SetOnFirstFailure([&](const std::string& r) { reports.push_back(r); });

    kernel.ioctlResult = -1;
    kernel.readAnswer = 0x40; // what a half-done transfer might have put in the buffer
    uint8_t status = 0xFF;
    EXPECT_FALSE(bus->IicRead(0x95, 1, &status));
    EXPECT_EQ(status, 0xFF);
    const uint8_t exit[] = {0x90, 0x00};
    EXPECT_FALSE(bus->IicWrite(0x94, 2, exit));

    EXPECT_EQ(bus->Failures(), 2);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], bus->FirstFailure());
    EXPECT_NE(reports[0].find("read of 1 bytes at address 95 on /dev/i2c-1 failed"),
              std::string::npos)
        << reports[0];
    EXPECT_NE(reports[0].find(std::strerror(EREMOTEIO)), std::string::npos);
}

TEST(I2cDevBus, AnAdapterThatCannotBeOpenedIsRefusedWithTheReason) {
    FakeKernel kernel;
    kernel.openResult = -1;
    std::string error;
    EXPECT_FALSE(I2cDevBus::Open("/dev/i2c-9", kernel.System(), &error));
    EXPECT_EQ(error,
              std::string("cannot open the I2C adapter /dev/i2c-9: ") + std::strerror(ENOENT));
    EXPECT_FALSE(kernel.closed);
}

#endif

} // namespace
} // namespace rtd::host
