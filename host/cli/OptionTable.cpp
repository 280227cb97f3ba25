#include "OptionTable.h"

#include "CommandTable.h"
#include "Mcp2221Model.h"
#include "ModelChip.h"
#include "SimAdapter.h"

namespace rtd::host {

const std::vector<HostOption>& HostOptions() {
    static const std::vector<HostOption> options = [] {
        HostOption bus{"--bus", nullptr, "BUS", nullptr, 0, &Options::bus};
        bus.forms = {
            {"sim", "the simulated chip (default)"},
            {"/dev/i2c-N",
             "a Linux i2c-dev adapter; the chip answers at 7-bit addresses 0x4A, 0x4B"},
            {"ch341[:N]",
             "the N-th CH341A USB adapter (default 0): libusb on Linux, the maker's\n"
             "CH341DLL.DLL on Windows (docs/ADAPTERS.md: wiring, permissions, drivers)"},
            {"ch341:model",
             "a dry run: the exact CH341A packets, decoded by a model of the adapter\n"
             "into the simulated chip (--sim-flash, --sim-fault apply)"},
            {"ftdi[:DESC]", "an FTDI FT232H, FT2232H or FT4232H through its MPSSE: libftdi1 on\n"
                            "Linux, ftd2xx.dll on Windows. DESC: N (the N-th, from 0), a serial\n"
                            "number, or an interface A-D, alone or after them (ftdi:0:B)"},
            {"ftdi:model[:ft2232h|:ft4232h]",
             "a dry run: the exact MPSSE commands (FT232H by default), run by a\n"
             "model of the engine into the simulated chip"},
            {"mcp2221[:N]",
             "the N-th MCP2221A USB-HID adapter (default 0): hidraw on Linux, the\n"
             "system's HID driver on Windows (nothing to install)"},
            {"mcp2221:model",
             "a dry run: the exact MCP2221A reports, decoded by a model of the\n"
             "adapter into the simulated chip"},
        };
        HostOption fault{"--sim-fault",
                         nullptr,
                         "FAULT",
                         "make the simulated chip misbehave (repeatable), FAULT one of:",
                         0,
                         nullptr,
                         &Options::simFaults};
        fault.lists = {{nullptr, &sim::ChipFaultForms()},
                       {"and, with an adapter model (ch341:model, ftdi:model, mcp2221:model),\n"
                        "faults of the wires and USB:",
                        &AdapterModelFaultForms()},
                       {"and with mcp2221:model:", &mcp2221::Mcp2221FaultForms()}};
        HostOption limit{"--sim-adapter",
                         nullptr,
                         "LIMIT",
                         "give the simulated bus the limit of a real adapter (repeatable):",
                         0,
                         nullptr,
                         &Options::simAdapter};
        limit.lists = {{nullptr, &SimAdapter::LimitForms()}};
        // clang-format off
        return std::vector<HostOption>{
            {"--plugin", nullptr, "PATH",
             "the plug-in to load (default: librtd2120.so / RTD2120.dll beside\n"
             "isphost, else in ../plugin, else in the install's library folder)",
             0, &Options::plugin},
            bus,
            {"--bus-speed", nullptr, "KHZ",
             "the bus clock of a USB adapter: 20, 100 (default), 400 or 750; refused\n"
             "where the adapter cannot set it (i2c-dev: the kernel driver sets it;\n"
             "FTDI, MCP2221A: 100 or 400)",
             0, &Options::busSpeedText},
            {"--sim-flash", nullptr, "FILE",
             "load the simulated flash from FILE before the command and save it\n"
             "after (131,072 bytes, bank 0 then bank 1; a missing file is a blank chip)",
             0, &Options::simFlash},
            fault,
            limit,
            {"--no-preflight", nullptr, nullptr, "write and erase without the pre-flight (see check)",
             0, nullptr, nullptr, &Options::noPreflight},
            {"--force", nullptr, nullptr,
             "hand the firmware file to the plug-in unchecked: no refusal of an\n"
             "empty, cut-short or oversized file (image info: warnings only)",
             0, nullptr, nullptr, &Options::force},
            {"--trace", nullptr, "FILE",
             "record every event, one per line: \"W 94 90 40\" bus write, \"R 95 40\"\n"
             "bus read (upper-case hex), \"P 37\" progress, \"L text\" message line,\n"
             "\"C\" message list cleared; with a USB adapter also its packets,\n"
             "\"A > AA 74 ...\" sent and \"A < 00\" received",
             0, &Options::trace},
            {"--verbose", "-v", nullptr,
             "the trace's bus lines (\"W ...\", \"R ...\") on stderr as well, with or\n"
             "without --trace",
             0, nullptr, nullptr, &Options::verbose},
            {"--auto-fire-second", nullptr, "on|off",
             "store the plug-in's one setting in Torvan.ini before the command: on,\n"
             "a HEX write also programs bank 1 from the extend file beside it\n"
             "(FILE_Extend.bin, FILE_Extend.hex, DEROredovOrovav.bin, .hex)",
             0, &Options::autoFireSecond},
            {"--quiet", "-q", nullptr, "print only the result (and why a command failed)",
             0, nullptr, nullptr, &Options::quiet},
            {"--if-different", nullptr, nullptr,
             "write, station: verify first and write nothing when every bank\n"
             "matches",
             kProgramsFile, nullptr, nullptr, &Options::ifDifferent},
            {"--log", nullptr, "FILE",
             "station: the CSV log, appended to; one row per board: time (UTC),\n"
             "file, SHA-256, passed/failed, the chip's CRC-8 per bank, seconds",
             kRunsBoards, &Options::log},
            {"--boards", nullptr, "N", "station: stop after N boards (default: until Ctrl-C)",
             kRunsBoards, &Options::boardsText},
            {"--stats", nullptr, nullptr,
             "after a bus command: bus calls, bytes on the bus, time between bus\n"
             "calls against wall time, bus time projected at 100 and 400 kHz",
             kNeedsBus, nullptr, nullptr, &Options::stats},
            {"--json", nullptr, nullptr,
             "one JSON object per line on stdout for every event, then a\n"
             "\"result\" object (bus commands; schema in docs/HOST.md)",
             kNeedsBus, nullptr, nullptr, &Options::json},
            {"--help", "-h", nullptr, "this text", 0, nullptr, nullptr, &Options::help},
            {"--version", "-V", nullptr, "the version", 0, nullptr, nullptr, &Options::version},
        };
        // clang-format on
    }();
    return options;
}

std::vector<std::string> HostOption::Heads() const {
    std::vector<std::string> heads;
    for (const auto& form : forms)
        heads.push_back(std::string(name) + " " + form.first);
    if (!heads.empty())
        return heads;
    std::string head = name;
    if (valueName)
        head += std::string(" ") + valueName;
    if (alias)
        head += std::string(", ") + alias;
    return {head};
}

bool HostOption::GivenIn(const Options& o) const {
    if (value)
        return !(o.*value).empty();
    if (values)
        return !(o.*values).empty();
    return o.*flag;
}

const HostOption* FindHostOption(const std::string& name) {
    for (const HostOption& row : HostOptions())
        if (name == row.name || (row.alias && name == row.alias))
            return &row;
    return nullptr;
}

} // namespace rtd::host
