// verify, write --if-different and what a write reports (summary, --stats), on the chip
// model through the whole host.
#include <gtest/gtest.h>

#include <cstdio>

#include "ExpectedTrace.h"
#include "HostRun.h"
#include "ImageTools.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;
using rtd::test::Events;

// The two-bank example as a raw image, and the same with one byte of bank 0 changed.
struct Images {
    rtd::test::TempDir dir;
    std::string written, changed;
    std::vector<uint8_t> writtenBytes, changedBytes;
    Images() {
        written = dir.Path("two-bank.bin");
        EXPECT_EQ(RunInProcess({"image", "convert", ExamplePath("two-bank.kvf"), written}).status,
                  0);
        writtenBytes = ReadFileBytes(written);
        changedBytes = writtenBytes;
        changedBytes.at(0x123) ^= 0x01;
        changed = dir.Write("changed.bin", changedBytes);
    }
};

std::string Crc(uint8_t crc) {
    return "0x" + rtd::test::Hex(crc);
}

bool ErasesOrWritesPages(const Events& trace) {
    for (const std::string& e : rtd::test::BusEvents(trace))
        if (e.rfind("W 94 94 ", 0) == 0 && e.size() > 3 * 200)
            return true;
    return Erases(trace);
}

// The lines of `out` that start with `prefix`.
Lines LinesStarting(const std::string& out, const std::string& prefix) {
    Lines found;
    for (const std::string& line : SplitLines(out))
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

// Writes `image` to a fresh model flash file and returns its path.
std::string FlashWith(const Images& images, const std::string& file) {
    const std::string flash = images.dir.Path("flash.bin");
    std::remove(flash.c_str());
    EXPECT_EQ(RunInProcess({"--sim-flash", flash, "write", file}).status, 0);
    return flash;
}

TEST(VerifyRun, ComparesEveryBankByCrcAndNeverErasesOrWrites) {
    const Images images;
    const std::string flash = FlashWith(images, images.written);
    const image::FirmwarePlan onChip = PlanFor(images.written, false);
    ASSERT_TRUE(onChip.Ready() && onChip.programBank1);
    const uint8_t chip0 = SummarizeBank(onChip.Bank(0)).crc;
    const uint8_t chip1 = SummarizeBank(onChip.Bank(1)).crc;
    const uint8_t changed0 = SummarizeBank(PlanFor(images.changed, false).Bank(0)).crc;
    ASSERT_NE(changed0, chip0);

    struct Case {
        const char* what;
        std::string file;
        int status;
        Lines lines;
    };
    const Case cases[] = {
        {"after the write",
         images.written,
         0,
         {"Bank 0: match, CRC-8 " + Crc(chip0), "Bank 1: match, CRC-8 " + Crc(chip1),
          "verify: OK"}},
        {"one byte changed",
         images.changed,
         1,
         {"Bank 0: mismatch, CRC-8 " + Crc(changed0) + " in the file, " + Crc(chip0) +
              " on the chip",
          "Bank 1: match, CRC-8 " + Crc(chip1), "verify: FAILED"}},
    };
    for (const Case& c : cases) {
        const std::string trace = images.dir.Path("verify.trace");
        const HostResult r =
            RunInProcess({"--sim-flash", flash, "--trace", trace, "verify", c.file});
        EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.out << r.err;
        EXPECT_EQ(SplitLines(r.out), c.lines) << c.what;
        // The chip is only asked for its CRC-8 over each bank's range, whatever the file.
        using namespace rtd::test;
        Events expected = EntryAttempt(0x40);
        for (const image::BankProgram& bank : onChip.Banks())
            expected = expected + CrcSequence(bank.bank, 0, bank.crcEnd, SummarizeBank(bank).crc,
                                              IspStatus(bank.bank));
        const Events actual = TraceEvents(trace);
        ExpectTrace(actual, WithoutWaits(expected + ExitIsp()));
        EXPECT_FALSE(ErasesOrWritesPages(actual)) << c.what;
        // Quiet keeps the bank that does not match: it is why the command failed.
        Lines quiet;
        for (const std::string& line : c.lines)
            if (line.find(": match,") == std::string::npos)
                quiet.push_back(line);
        EXPECT_EQ(SplitLines(RunInProcess({"-q", "--sim-flash", flash, "verify", c.file}).out),
                  quiet)
            << c.what;
    }
    EXPECT_EQ(ReadFileBytes(flash), images.writtenBytes);

    // No chip in ISP mode, a CRC-8 the chip never finishes, a file refused under --force: a
    // failure, never a match.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--sim-fault", "no-isp", "verify", images.written},
          {"--sim-flash", flash, "--sim-fault", "crc-busy=200", "verify", images.written},
          {"--force", "verify", images.dir.Path("missing.bin")}}) {
        const HostResult r = RunInProcess(args);
        EXPECT_EQ(r.status, 1) << args[1] << "\n" << r.out;
        EXPECT_EQ(SplitLines(r.out).back(), "verify: FAILED") << args[1];
        std::vector<std::string> quiet = args;
        quiet.insert(quiet.begin(), "-q");
        const HostResult q = RunInProcess(quiet);
        EXPECT_EQ(SplitLines(q.out).back(), "verify: FAILED") << args[1];
        EXPECT_GT(SplitLines(q.out + q.err).size(), 1u) << args[1] << ": no reason";
    }
}

TEST(VerifyRun, WriteIfDifferentWritesOnlyAChipThatDiffers) {
    const Images images;
    const std::string flash = FlashWith(images, images.written);
    const std::string trace = images.dir.Path("if-different.trace");

    HostResult r = RunInProcess(
        {"--sim-flash", flash, "--trace", trace, "write", "--if-different", images.written});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(ErasesOrWritesPages(TraceEvents(trace)));
    const Lines summary = LinesStarting(r.out, "Summary: ");
    ASSERT_EQ(summary.size(), 1u) << r.out;
    EXPECT_EQ(summary[0].rfind("Summary: banks 0 and 1 already match, nothing written, 0 pages "
                               "sent, CRC-8 ",
                               0),
              0u)
        << summary[0];

    r = RunInProcess(
        {"--sim-flash", flash, "--trace", trace, "write", "--if-different", images.changed});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(ErasesOrWritesPages(TraceEvents(trace)));
    EXPECT_EQ(ReadFileBytes(flash), images.changedBytes);

    // The first page alone: verify finds bank 0's written range as on the chip, but a write
    // leaves the rest erased, so --if-different compares whole banks and writes.
    std::vector<uint8_t> firstPage(images.changedBytes.begin(), images.changedBytes.begin() + 256);
    const std::string shorter = images.dir.Write("first-page.bin", firstPage);
    EXPECT_EQ(RunInProcess({"--sim-flash", flash, "verify", shorter}).status, 0);
    r = RunInProcess({"--sim-flash", flash, "write", "--if-different", shorter});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    firstPage.resize(images.changedBytes.size(), 0xFF);
    EXPECT_EQ(ReadFileBytes(flash), firstPage);
}

// The summary's numbers are those of the plan, the stats' those of the trace.
TEST(VerifyRun, WriteSummaryAndStatsAgreeWithThePlanAndTheTrace) {
    const Images images;
    const std::string flash = images.dir.Path("stats-flash.bin");
    const std::string trace = images.dir.Path("stats.trace");
    const HostResult r =
        RunInProcess({"--sim-flash", flash, "--trace", trace, "--stats", "write", images.written});
    ASSERT_EQ(r.status, 0) << r.out << r.err;

    const image::FirmwarePlan plan = PlanFor(images.written, false);
    uint32_t bytes = 0;
    int pages = 0;
    std::string crcs;
    for (const image::BankProgram& bank : plan.Banks()) {
        const BankSummary s = SummarizeBank(bank);
        bytes += s.writtenLength;
        pages += s.pagesSent;
        crcs += " " + Crc(s.crc);
    }
    const Lines summary = LinesStarting(r.out, "Summary: ");
    ASSERT_EQ(summary.size(), 1u) << r.out;
    EXPECT_EQ(summary[0].rfind("Summary: banks 0 and 1, " + std::to_string(bytes) +
                                   " bytes written, " + std::to_string(pages) +
                                   " pages sent, CRC-8" + crcs + ", ",
                               0),
              0u)
        << summary[0];

    long calls = 0, busBytes = 0;
    for (const std::string& e : rtd::test::BusEvents(TraceEvents(trace))) {
        ++calls;
        busBytes += static_cast<long>((e.size() + 1) / 3); // "W 94 90 40": address and data
    }
    const Lines stats = LinesStarting(r.out, "Stats: ");
    ASSERT_EQ(stats.size(), 1u) << r.out;
    long statCalls = -1, statBytes = -1;
    ASSERT_EQ(
        std::sscanf(stats[0].c_str(), "Stats: %ld bus calls, %ld bytes", &statCalls, &statBytes), 2)
        << stats[0];
    EXPECT_EQ(statCalls, calls);
    EXPECT_EQ(statBytes, busBytes);

    const HostResult failed = RunInProcess({"--sim-fault", "stuck=0:10", "write", images.written});
    EXPECT_EQ(failed.status, 1);
    const Lines failedSummary = LinesStarting(failed.out, "Summary: ");
    ASSERT_EQ(failedSummary.size(), 1u) << failed.out;
    // The CRC check of bank 0 fails, after its pages.
    const int bank0Pages = SummarizeBank(plan.Bank(0)).pagesSent;
    EXPECT_EQ(failedSummary[0].rfind(
                  "Summary: write failed, " + std::to_string(bank0Pages) + " pages sent, ", 0),
              0u)
        << failedSummary[0];
}

} // namespace
} // namespace rtd::host::test
