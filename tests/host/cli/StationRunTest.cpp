// isphost station on the chip model, boards swapped by --sim-adapter swap=N.
#include <gtest/gtest.h>

#include "HostRun.h"
#include "Sha256.h"
#include "StopRequest.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

// The result column of each row after the header.
Lines Results(const std::string& log) {
    Lines results;
    const Lines lines = SplitLines(log);
    for (size_t i = 1; i < lines.size(); ++i) {
        size_t at = 0;
        for (int comma = 0; comma < 3; ++comma)
            at = lines[i].find(',', at) + 1;
        results.push_back(lines[i].substr(at, lines[i].find(',', at) - at));
    }
    return results;
}

TEST(StationRun, ProgramsEachBoardAndLogsOneRowPerBoard) {
    const rtd::test::TempDir dir;
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string image = dir.Path("image.bin");
    ASSERT_EQ(RunInProcess({"image", "convert", file, image}).status, 0);
    std::string sha;
    ASSERT_TRUE(Sha256OfFile(file, &sha));
    const struct {
        Lines faults; // of the first board
        std::string swap;
        int status;
        Lines results;
        std::string count; // after the last board
    } cases[] = {
        {{}, "swap=1", 0, {"passed", "passed"}, "Boards: 2 passed, 0 failed"},
        {{"--sim-fault", "stuck=0:10"},
         "swap=3",
         1,
         {"failed", "passed"},
         "Boards: 1 passed, 1 failed"},
        {{"--sim-fault", "no-isp"},
         "swap=2",
         1,
         {"failed", "passed"},
         "Boards: 1 passed, 1 failed"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string flash = dir.Path("flash" + std::to_string(n) + ".bin");
        const std::string log = dir.Path("log" + std::to_string(n++) + ".csv");
        Lines args = {"--sim-flash", flash, "--sim-adapter", c.swap};
        args.insert(args.end(), c.faults.begin(), c.faults.end());
        args.insert(args.end(), {"station", file, "--log", log, "--boards", "2"});
        const HostResult r = RunInProcess(args);
        SCOPED_TRACE(c.swap + " " + (c.faults.empty() ? "" : c.faults[1]));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(Results(ReadFileText(log)), c.results);
        EXPECT_NE(ReadFileText(log).find("," + sha + ","), std::string::npos);
        EXPECT_NE(r.out.find(c.count + "\n"), std::string::npos) << r.out;
        // The last board holds the image: it was blank when it arrived.
        EXPECT_EQ(ReadFileBytes(flash), ReadFileBytes(image));
    }
}

TEST(StationRun, CtrlCEndsBeforeTheNextBoard) {
    const rtd::test::TempDir dir;
    const std::string log = dir.Path("log.csv");
    SetStopRequested(true);
    const HostResult r =
        RunInProcess({"station", ExamplePath("two-bank.kvf"), "--log", log, "--boards", "2"});
    SetStopRequested(false);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SplitLines(ReadFileText(log)).size(), 1u); // the header alone
    EXPECT_NE(r.out.find("station: 0 passed, 0 failed"), std::string::npos) << r.out;
}

TEST(StationRun, RefusesASwapOfNoWrites) {
    EXPECT_EQ(RunInProcess({"--sim-adapter", "swap=0", "station", ExamplePath("two-bank.kvf"),
                            "--log", TempPath("s.csv")})
                  .status,
              2);
}

} // namespace
} // namespace rtd::host::test
