// What the image tools report for a bank window.
#include <gtest/gtest.h>

#include <vector>

#include "ImageTools.h"
#include "ReferenceCrc.h"

namespace rtd::host {
namespace {

TEST(ImageTools, BankSummaryCountsOnlyPagesThatAreSent) {
    struct Case {
        const char* name;
        std::vector<std::pair<size_t, uint8_t>> bytes; // offset, value; the rest 0xFF
        uint32_t length;
        int pages;
    };
    const Case cases[] = {
        {"blank", {}, 0, 0},
        {"first byte", {{0, 0x12}}, 1, 1},
        {"last byte", {{0xFFFF, 0x00}}, 0x10000, 1},
        {"gap page inside", {{0, 1}, {0x2FF, 2}}, 0x300, 2},
        {"every page", {{0, 1}, {0xFFFF, 2}}, 0x10000, 2},
        {"short last page", {{0x100, 1}, {0x1C3, 3}}, 0x1C4, 1},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> window(65536, 0xFF);
        for (const auto& [offset, value] : c.bytes)
            window[offset] = value;
        const BankSummary s = SummarizeBank(window.data());
        EXPECT_EQ(s.writtenLength, c.length) << c.name;
        EXPECT_EQ(s.pagesSent, c.pages) << c.name;
        // An empty bank is verified over the whole window, as the chip is asked for it.
        EXPECT_EQ(s.crc, rtd::test::ReferenceCrc8(window.data(), c.length ? c.length : 65536))
            << c.name;
    }
}

} // namespace
} // namespace rtd::host
