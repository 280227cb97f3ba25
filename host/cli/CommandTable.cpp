#include "CommandTable.h"

#include "BusList.h"
#include "ImageTools.h"
#include "Options.h"
#include "PreflightCommand.h"
#include "Quonunit.h"
#include "Station.h"

namespace rtd::host {

namespace {

// The image tools decide as the plug-in would, so they read its setting from the same
// file.
int RunImageInfo(const Options& o, std::ostream& out, std::ostream& err) {
    return ImageInfo(o.arguments[0], LoadAutoFireSecond(), o.force, out, err);
}
int RunImageConvert(const Options& o, std::ostream&, std::ostream& err) {
    return ImageConvert(o.arguments[0], o.arguments[1], LoadAutoFireSecond(), o.force, err);
}
int RunImagePack(const Options& o, std::ostream&, std::ostream& err) {
    return ImagePack(o.arguments[0], o.arguments[1], LoadAutoFireSecond(), o.force, err);
}

int RunBuses(const Options&, std::ostream& out, std::ostream&) {
    ListBuses(out);
    return 0;
}

} // namespace

const std::vector<HostCommand>& HostCommands() {
    static const std::vector<HostCommand> commands = [] {
        std::vector<HostCommand> rows = {
            {"info", 0, "info", "name, extra function, file filter and supported commands",
             nullptr},
            {"write", 1, "write FILE",
             "program FILE (.hex/.h00 Intel HEX, .bin raw image, else packed)\n"
             "and verify every bank by CRC-8",
             nullptr},
            {"verify", 1, "verify FILE",
             "compare the chip with FILE by the CRC-8 of every bank a write\n"
             "programs; erases and writes nothing (0: all match, 1: not)",
             nullptr},
            {"station", 1, "station FILE",
             "program boards one after another (--log LOG.csv, required): wait\n"
             "for a chip, write, verify, log a row, wait for the board to go",
             RunStation, kNeedsBus | kProgramsFile | kRunsBoards},
            {"erase", 0, "erase", "erase the whole flash, then let the chip run", nullptr},
            {"reset", 0, "reset", "enter and leave ISP mode so the chip restarts", nullptr},
            {"enter-isp", 0, "enter-isp",
             "the plug-in's extra function: send the ISP entry for ~11 s", nullptr},
            {"about", 0, "about", "the plug-in's About dialog (needs a display)", nullptr},
            {"setup", 0, "setup", "the plug-in's Setup dialog (needs a display)", nullptr},
            {"check", 0, "check",
             "the pre-flight alone: plain I2C, a device at 0x4A and 0x4B, 257-byte\n"
             "writes in one message; sends nothing that changes a chip",
             RunCheck},
            {"buses", 0, "buses",
             "list the attached adapters (i2c-dev, CH341A, ...) and whether a\n"
             "chip answers at 0x4A on each; sends nothing that changes a chip",
             RunBuses},
            {"image info", 1, "image info FILE",
             "what a write of FILE would program: flow, banks, used length,\n"
             "pages sent and CRC-8 per bank, or why the file is refused",
             RunImageInfo},
            {"image convert", 2, "image convert FILE OUT.bin",
             "write the 131,072-byte image a write of FILE would program", RunImageConvert},
            {"image pack", 2, "image pack IN OUT.kvf",
             "pack what a write of IN would program into a packed file", RunImagePack},
        };
        // A row without its own run is the chip command of its name, with its traits.
        for (HostCommand& row : rows) {
            if (row.run)
                continue;
            row.chip = FindChipCommand(row.name);
            row.traits = row.chip->traits;
        }
        return rows;
    }();
    return commands;
}

const HostCommand* FindHostCommand(const std::string& name) {
    return FindCommandRow(HostCommands(), name);
}

bool IsCommandGroup(const std::string& word) {
    const std::string prefix = word + " ";
    for (const HostCommand& c : HostCommands())
        if (std::string(c.name).rfind(prefix, 0) == 0)
            return true;
    return false;
}

} // namespace rtd::host
