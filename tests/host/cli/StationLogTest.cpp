// The station's pieces: the SHA-256 its rows name the file by, and the CSV log that must
// never be left with a torn row.
#include <gtest/gtest.h>

#include "Sha256.h"
#include "StationLog.h"
#include "TempDir.h"

namespace rtd::host {
namespace {

TEST(Sha256, MatchesTheStandardTestVectors) {
    const struct {
        std::string message, digest;
    } cases[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        // 56 bytes: the length no longer fits the first block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sha256Hex(std::vector<uint8_t>(c.message.begin(), c.message.end())), c.digest)
            << '"' << c.message << '"';
}

TEST(StationLog, StartsWithTheHeaderAndFinishesATornLastLine) {
    const rtd::test::TempDir dir;
    BoardRow row;
    row.time = "2026-12-09T05:40:12Z";
    row.file = "fw,\"v2\".kvf";
    row.sha256 = std::string(64, 'a');
    row.passed = true;
    BankReport bank0, bank1;
    bank0.chipAnswered = true;
    bank0.chipCrc = 0x5A;
    bank1.bank = 1;
    row.banks = {bank0, bank1};
    row.seconds = 2.5;
    const std::string line =
        "2026-12-09T05:40:12Z,\"fw,\"\"v2\"\".kvf\"," + row.sha256 + ",passed,0:5A 1:--,2.500";
    ASSERT_EQ(StationLogLine(row), line);

    const struct {
        const char* before; // the file before the station starts; null: no file
        std::string after;  // after one row
    } cases[] = {
        {nullptr, std::string(kStationLogHeader) + "\n" + line + "\n"},
        {"", std::string(kStationLogHeader) + "\n" + line + "\n"},
        {"h\nr1\n", "h\nr1\n" + line + "\n"},
        {"h\nr1\ntorn,ro", "h\nr1\ntorn,ro\n" + line + "\n"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "log" + std::to_string(n++) + ".csv";
        if (c.before)
            dir.Write(name, std::string(c.before));
        std::string error;
        {
            StationLog log;
            ASSERT_TRUE(log.Open(dir.Path(name), &error)) << error;
            ASSERT_TRUE(log.Append(line, &error)) << error;
        }
        EXPECT_EQ(dir.Read(name), c.after) << (c.before ? c.before : "(no file)");
    }
}

} // namespace
} // namespace rtd::host
