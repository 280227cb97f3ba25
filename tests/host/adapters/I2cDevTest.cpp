// The Linux i2c-dev adapter with the system calls replaced.
#include <gtest/gtest.h>

#if defined(__linux__)
#include <cerrno>
#include <cstring>
#include <vector>

#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <sys/file.h>

#include "AdapterBus.h"
#include "I2cDevAdapter.h"
#include "Preflight.h"

namespace rtd::host {
namespace {
// A fake kernel: records each I2C_RDWR request and answers reads from a script.
struct FakeKernel {
    struct Request {
        int fd;
        uint16_t addr;
        uint16_t flags;
        std::vector<uint8_t> bytes;
        uint32_t nmsgs;
    };
    std::vector<Request> requests;
    std::string openedPath;
    int openResult = 7;
    int ioctlResult = 0;
    unsigned long functions = I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL;
    int error = 0;
    bool closed = false;
    uint8_t readAnswer = 0x40;
    int longestMessage = 8192; // the adapter's quirk: longer ones are refused
    bool zeroLength = true;    // the adapter sends an address alone
    int lockError = 0;         // flock fails with this

    I2cDevSystem System() {
        I2cDevSystem s;
        s.open = [this](const char* path, int) {
            openedPath = path;
            if (openResult < 0)
                error = ENOENT;
            return openResult;
        };
        s.ioctl = [this](int fd, unsigned long request, void* argument) {
            if (request == I2C_FUNCS) {
                *static_cast<unsigned long*>(argument) = functions;
                return 0;
            }
            EXPECT_EQ(request, static_cast<unsigned long>(I2C_RDWR));
            auto* data = static_cast<i2c_rdwr_ioctl_data*>(argument);
            const i2c_msg& m = data->msgs[0];
            if (m.len > longestMessage || (m.len == 0 && !zeroLength)) {
                error = EOPNOTSUPP; // refused before the bus
                return -1;
            }
            if (m.flags & I2C_M_RD)
                std::memset(m.buf, readAnswer, m.len); // the kernel may fill before failing
            requests.push_back(
                {fd, m.addr, m.flags, std::vector<uint8_t>(m.buf, m.buf + m.len), data->nmsgs});
            if (ioctlResult < 0)
                error = EREMOTEIO;
            return ioctlResult;
        };
        s.close = [this](int) {
            closed = true;
            return 0;
        };
        s.flock = [this](int, int operation) {
            EXPECT_EQ(operation, LOCK_EX | LOCK_NB);
            error = lockError;
            return lockError ? -1 : 0;
        };
        s.lastError = [this] { return error; };
        return s;
    }
};

TEST(I2cDevAdapter, OneRdwrMessagePerCallWithTheSevenBitAddress) {
    FakeKernel kernel;
    std::string error;
    auto adapter = I2cDevAdapter::Open("/dev/i2c-4", kernel.System(), &error);
    ASSERT_TRUE(adapter) << error;
    EXPECT_EQ(kernel.openedPath, "/dev/i2c-4");
    EXPECT_TRUE(adapter->Capabilities().plainI2c);
    AdapterBus bus(adapter.get());

    const uint8_t address[] = {0x92, 0x12, 0x00};
    std::vector<uint8_t> page(257, 0x5A);
    EXPECT_TRUE(bus.IicWrite(0x96, 3, address));
    EXPECT_TRUE(bus.IicWrite(0x94, 257, page.data()));
    uint8_t status = 0xFF;
    EXPECT_TRUE(bus.IicRead(0x95, 1, &status));
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
        EXPECT_EQ(r.nmsgs, 1u);
        EXPECT_EQ(r.addr, expected[i].addr) << i;
        EXPECT_EQ(r.flags, expected[i].flags) << i;
        EXPECT_EQ(r.bytes.size(), expected[i].length) << i;
    }
    EXPECT_EQ(kernel.requests[0].bytes, std::vector<uint8_t>(address, address + 3));
    EXPECT_EQ(kernel.requests[1].bytes, page);

    kernel.ioctlResult = -1;
    status = 0xFF;
    EXPECT_FALSE(bus.IicRead(0x95, 1, &status));
    EXPECT_EQ(status, 0xFF);
    EXPECT_EQ(bus.FailureSummary(), std::string("/dev/i2c-4: 1 bus transfer failed; the first: "
                                                "read of 1 byte at address 95: ") +
                                        std::strerror(EREMOTEIO));
    adapter.reset();
    EXPECT_TRUE(kernel.closed);
}

TEST(I2cDevAdapter, AnSmbusOnlyAdapterSaysSoAndOneThatCannotBeOpenedIsRefused) {
    FakeKernel kernel;
    kernel.functions = I2C_FUNC_SMBUS_BYTE_DATA;
    std::string error;
    auto smbus = I2cDevAdapter::Open("/dev/i2c-2", kernel.System(), &error);
    ASSERT_TRUE(smbus);
    EXPECT_FALSE(smbus->Capabilities().plainI2c);

    kernel.openResult = -1;
    EXPECT_FALSE(I2cDevAdapter::Open("/dev/i2c-9", kernel.System(), &error));
    EXPECT_EQ(error,
              std::string("cannot open the I2C adapter /dev/i2c-9: ") + std::strerror(ENOENT));
}

// The pre-flight over i2c-dev: the message limit found with writes to the reserved
// address 0x7C only, an adapter that cannot send an address alone, a held adapter.
TEST(I2cDevAdapter, PreflightFindsTheLimitAtTheReservedAddressAndAHeldBusIsBusy) {
    const struct {
        const char* name;
        int longest;
        bool zeroLength;
        unsigned long functions;
        std::string refusal;
        std::string lastFinding;
    } cases[] = {
        {"no limit", 8192, true, I2C_FUNC_I2C, "", "257-byte writes in one message: yes"},
        {"CP2112-like", 61, true, I2C_FUNC_I2C, "adapter refuses 257-byte messages (limit 61): use",
         ""},
        {"splits at 256", 256, false, I2C_FUNC_I2C,
         "adapter refuses 257-byte messages (limit 256): use",
         "0x4B not checked: the adapter cannot send an address alone"},
        {"SMBus only", 8192, true, I2C_FUNC_SMBUS_BYTE_DATA,
         "/dev/i2c-5 offers SMBus transfers only, no plain I2C: use", ""},
    };
    for (const auto& c : cases) {
        FakeKernel kernel;
        kernel.readAnswer = 0x00;
        kernel.longestMessage = c.longest;
        kernel.zeroLength = c.zeroLength;
        kernel.functions = c.functions;
        std::string error;
        auto adapter = I2cDevAdapter::Open("/dev/i2c-5", kernel.System(), &error);
        ASSERT_TRUE(adapter) << error;
        const PreflightResult r = RunPreflight(*adapter);
        EXPECT_EQ(r.refusal.substr(0, c.refusal.size()), c.refusal) << c.name;
        if (!c.lastFinding.empty()) {
            EXPECT_EQ(r.found.back(), c.lastFinding) << c.name;
        }
        // Nothing longer than naming the status register reaches a device that exists.
        for (const auto& request : kernel.requests)
            if (request.addr != 0x7C) {
                EXPECT_LE(request.bytes.size(), 1u) << c.name << " at " << request.addr;
            }
    }

    FakeKernel held;
    held.lockError = EWOULDBLOCK;
    std::string error;
    EXPECT_FALSE(I2cDevAdapter::Open("/dev/i2c-5", held.System(), &error));
    EXPECT_EQ(error, "bus busy: another program holds /dev/i2c-5 (one command at a time)");
    EXPECT_TRUE(held.closed);
    EXPECT_TRUE(held.requests.empty());
}

} // namespace
} // namespace rtd::host
#endif
