// The whole host on the MCP2221A's model: a full 128 KiB image written exactly, every
// command through it, and the engine's own fault in one line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "HostRun.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

TEST(Mcp2221Run, WritesAFull128KiBImageExactlyAndRunsEveryCommand) {
    // Data in every page, none of it the erased 0xFF.
    std::vector<uint8_t> image(131072);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 7 + (i >> 8)) % 255);
    const std::string file = TempPath("mcp2221-full.bin");
    const std::string flash = TempPath("mcp2221-flash.bin");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    std::remove(flash.c_str());
    const Lines base = {"--bus", "mcp2221:model", "--sim-flash", flash};
    const Lines commands[] = {{"write", file}, {"verify", file}, {"info"}, {"check"},
                              {"reset"},       {"enter-isp"},    {"erase"}};
    for (const Lines& command : commands) {
        Lines args = base;
        args.insert(args.end(), command.begin(), command.end());
        const HostResult r = RunInProcess(args);
        EXPECT_EQ(r.status, 0) << command[0] << "\n" << r.out << r.err;
        if (command[0] == "write") {
            EXPECT_EQ(ReadFileBytes(flash), image);
        }
    }
    EXPECT_EQ(ReadFileBytes(flash), std::vector<uint8_t>(131072, 0xFF)); // after the erase
}

// The cancel frees the engine, and the plug-in's next entry attempt gets through.
TEST(Mcp2221Run, AnEngineThatStaysBusyEndsInOneLineAndTheCommandRecovers) {
    const HostResult r = RunInProcess(
        {"--bus", "mcp2221:model", "--no-preflight", "--sim-fault", "engine-busy=1", "erase"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    Lines errors;
    for (const std::string& line : SplitLines(r.err))
        if (line.rfind("isphost: diagnosis: ", 0) != 0)
            errors.push_back(line);
    EXPECT_EQ(errors, Lines{"isphost: mcp2221:model: 1 bus transfer failed; the first: write of 2 "
                            "bytes at address 94: the MCP2221A's I2C engine stayed busy"});
}

} // namespace
} // namespace rtd::host::test
