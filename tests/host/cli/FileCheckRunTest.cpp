// The hosts' check of a firmware file before a write: what the plug-in would program
// only in part, or not at all, is refused in one line before the bus opens; --force hands
// the file over, and the plug-in's own verdict stays.
#include <gtest/gtest.h>

#include "HexText.h"
#include "HostRun.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

TEST(FileCheckRun, FilesThatWouldProgramTheWrongThingAreRefusedBeforeTheBus) {
    const rtd::test::TempDir files;
    const std::string end = ":00000001FF\r\n";
    const std::string record = rtd::test::HexRecord(0, {1, 2, 3});
    std::vector<uint8_t> cutKvf = ReadFileBytes(ExamplePath("two-bank.kvf"));
    cutKvf.resize(1000);
    const struct {
        std::string file;
        std::string reason; // in the one line on stderr, and image info's
        int forced;         // the exit status under --force: the plug-in's verdict
    } cases[] = {
        {files.Path("missing.kvf"), "missing.kvf: No such file or directory", 1},
        {files.MakeFolder("folder.bin"), "folder.bin is a folder, not a firmware file", 1},
        {files.Write("empty.bin", ""), "empty.bin: the file is empty", 0},
        {files.Write("empty.hex", ""), "empty.hex: the file is empty", 0},
        {files.Write("cut.hex", record + record),
         "cut.hex: no end-of-file record (:00000001FF) after line 2: the file may be cut short", 0},
        {files.Write("shifted.hex", record + ":020000040001F9\r\n" + end),
         "shifted.hex: line 2: extended linear address 0x0001 is not supported", 1},
        {files.Write("long.bin", std::string(131073, 'x')),
         "long.bin: a raw image holds at most 131,072 bytes, this one 131073", 0},
        {files.Write("short.kvf", "not a packed file"),
         "short.kvf: not a packed firmware file: 17 bytes, shorter than the 256-byte header", 1},
        {files.Write("other.kvf", std::string(300, 'x')),
         "other.kvf: not a packed firmware file: the header does not start with", 1},
        {files.Write("cut.kvf", cutKvf),
         "cut.kvf: packed file cut short: the header says \"ZEQ KVF V1.0\" (a whole 131,072-byte "
         "image), the body's 744 bytes decode to",
         1},
    };
    const std::string trace = files.Path("t.trace"), flash = files.Path("flash.bin"),
                      log = files.Path("log.csv");
    for (const auto& c : cases) {
        for (const Lines& command : {Lines{"write", c.file}, Lines{"verify", c.file},
                                     Lines{"station", c.file, "--log", log}}) {
            Lines args = {"--trace", trace, "--sim-flash", flash};
            args.insert(args.end(), command.begin(), command.end());
            const HostResult r = RunInProcess(args);
            EXPECT_EQ(r.status, 2) << command[0] << " " << c.file;
            ASSERT_EQ(SplitLines(r.err).size(), 1u) << c.file << "\n" << r.err;
            EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
            EXPECT_TRUE(TraceEvents(trace, "WRL").empty()) << c.file;
            EXPECT_FALSE(files.Has("flash.bin")) << c.file;
            EXPECT_FALSE(files.Has("log.csv")) << c.file;
        }
        const HostResult info = RunInProcess({"image", "info", c.file});
        EXPECT_EQ(info.status, 2) << c.file;
        EXPECT_NE(info.out.find("Refused:     "), std::string::npos) << info.out;
        EXPECT_NE(info.out.find(c.reason), std::string::npos) << info.out;
        const HostResult warned = RunInProcess({"image", "info", "--force", c.file});
        EXPECT_NE(warned.out.find("Warning:     "), std::string::npos) << warned.out;
        EXPECT_NE(warned.out.find(c.reason), std::string::npos) << warned.out;

        // The plug-in reads what it can; a file it refuses brings no diagnosis of the bus.
        const HostResult forced = RunInProcess({"--trace", trace, "--force", "write", c.file});
        EXPECT_EQ(forced.status, c.forced) << c.file << "\n" << forced.out << forced.err;
        EXPECT_EQ(SplitLines(forced.out).back(), c.forced ? "write: FAILED" : "write: OK");
        EXPECT_EQ(forced.err.find("diagnosis:"), std::string::npos) << forced.err;
        EXPECT_FALSE(MessageLines(trace).empty()) << c.file;
        EXPECT_EQ(TraceEvents(trace, "WR").empty(), c.forced != 0) << c.file;
    }
}

} // namespace
} // namespace rtd::host::test
