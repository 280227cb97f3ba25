// The whole host on adapter buses: each adapter's model (and, on Windows, the maker's DLL
// transport against the stand-in DLL) runs the plug-in's commands exactly as the chip
// model does, and the adapter's failures end in the command's failure line and one line
// naming the adapter error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>

#include "HostRun.h"
#include "ImageTools.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

enum class Transport { Model, Ch341Dll, D2xx };

struct Route {
    const char* bus;
    const char* modelBus;    // the same adapter's model, for where faults strike
    Transport transport;     // but the model: faults and flash go to the stand-in DLL
    const char* envPrefix;   // through these environment variables
    bool seesAck;            // the transport reports the address byte's acknowledge
    bool seesDataAck;        // and those of the data bytes
    const char* firstPacket; // of the model, at 100 kHz
};

std::vector<Route> Routes() {
    std::vector<Route> routes = {
        {"ch341:model", "ch341:model", Transport::Model, "", true, false, "A > AA 61 00"},
        {"ftdi:model", "ftdi:model", Transport::Model, "", true, true, "A > AA AB"},
        {"mcp2221:model", "mcp2221:model", Transport::Model, "", true, true,
         "A > 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
         "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
         "00 "
         "00 00 00 00 00 00"},
    };
#if defined(_WIN32)
    routes.push_back(
        {"ch341:0", "ch341:model", Transport::Ch341Dll, "RTD_CH341_MODEL_", false, false, ""});
    routes.push_back(
        {"ftdi:0:A", "ftdi:model", Transport::D2xx, "RTD_FTDI_MODEL_", true, true, ""});
#endif
    return routes;
}

HostResult RunOn(const Route& route, const Lines& faults, const std::string& flash, Lines args) {
    std::string joined;
    for (const std::string& f : faults)
        joined += (joined.empty() ? "" : ",") + f;
    const bool standIn = route.transport != Transport::Model;
    ScopedEnv envFaults(route.envPrefix + std::string("FAULTS"), standIn ? joined : "");
    ScopedEnv envFlash(route.envPrefix + std::string("FLASH"), standIn ? flash : "");
    Lines prefix = {"--bus", route.bus};
    if (!standIn) {
        for (const std::string& f : faults)
            prefix.insert(prefix.end(), {"--sim-fault", f});
        if (!flash.empty())
            prefix.insert(prefix.end(), {"--sim-flash", flash});
    }
    args.insert(args.begin(), prefix.begin(), prefix.end());
    return RunInProcess(args);
}

// The plug-in's side of a trace, without the adapter's packets.
Lines PluginEvents(const std::string& tracePath) {
    return TraceEvents(tracePath, "WRPLC");
}

// The entry loop runs for a fixed time, so its attempts are counted by the clock: compare
// which events happen, in the order they first happen.
Lines FirstOccurrences(const Lines& events) {
    Lines seen;
    for (const std::string& e : events)
        if (std::find(seen.begin(), seen.end(), e) == seen.end())
            seen.push_back(e);
    return seen;
}

// Each command through every route makes the plug-in do what it does on the simulated
// bus (the reference, taken once per command), and a write leaves the image in flash.
void ExpectEveryRouteActsAsTheSimulatedBus(const std::vector<Lines>& commands) {
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string simTrace = TempPath("adapter-sim.trace");
    const std::string trace = TempPath("adapter.trace");
    const std::string flash = TempPath("adapter-flash.bin");
    std::vector<Lines> wanted;
    for (const Lines& command : commands) {
        Lines args = {"--trace", simTrace};
        args.insert(args.end(), command.begin(), command.end());
        ASSERT_EQ(RunInProcess(args).status, 0);
        Lines events = PluginEvents(simTrace);
        wanted.push_back(command[0] == "enter-isp" ? FirstOccurrences(events) : events);
    }
    for (const Route& route : Routes()) {
        for (size_t c = 0; c < commands.size(); ++c) {
            const Lines& command = commands[c];
            Lines args = {"--trace", trace};
            args.insert(args.end(), command.begin(), command.end());
            std::remove(flash.c_str());
            const HostResult r = RunOn(route, {}, flash, args);
            const std::string what = std::string(route.bus) + " " + command[0];
            ASSERT_EQ(r.status, 0) << what << "\n" << r.out << r.err;
            EXPECT_EQ(HostLines(r.err, true), Lines{}) << what;
            Lines got = PluginEvents(trace);
            if (command[0] == "enter-isp")
                got = FirstOccurrences(got);
            EXPECT_EQ(got, wanted[c]) << what;
            if (*route.firstPacket) {
                EXPECT_EQ(TraceEvents(trace, "A").front(), route.firstPacket) << what;
            }
            if (command[0] == "write") {
                EXPECT_EQ(ReadFileBytes(flash), PlanFor(file, false).image) << what;
            }
        }
    }
}

TEST(AdapterRun, EveryCommandSendsWhatTheChipModelGetsAndWritesTheImage) {
    ExpectEveryRouteActsAsTheSimulatedBus(
        {{"write", ExamplePath("two-bank.kvf")}, {"erase"}, {"reset"}});
}

// A full 128 KiB image through each adapter's model lands in the flash byte for byte; the
// CH341A carries each transaction in one USB write and one read.
TEST(AdapterRun, AFullImageIsWrittenExactly) {
    std::vector<uint8_t> image(128 * 1024);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>((i * 7 + i / 256) % 251); // no page left erased
    const std::string file = TempPath("full-image.bin");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<long>(image.size()));
    const std::string flash = TempPath("full-image-flash.bin");
    for (const char* bus : {"ch341:model", "ftdi:model"}) {
        std::remove(flash.c_str());
        const Route model = {bus, bus, Transport::Model, "", true, true, ""};
        const HostResult r =
            RunOn(model, {}, flash, {"--bus-speed", "400", "--stats", "write", file});
        ASSERT_EQ(r.status, 0) << bus << "\n" << r.out << r.err;
        EXPECT_EQ(ReadFileBytes(flash), image) << bus;
        long calls = 0, transfers = 0, roundTrips = 0;
        for (const std::string& line : SplitLines(r.out))
            if (line.rfind("Stats: ", 0) == 0) {
                std::sscanf(line.c_str(), "Stats: %ld bus calls", &calls);
                std::sscanf(line.substr(line.find("; USB ")).c_str(),
                            "; USB %ld transfers (%ld round trips)", &transfers, &roundTrips);
            }
        EXPECT_EQ(calls, 2086) << bus; // 512 pages and what brackets them
        if (std::string(bus) == "ch341:model") {
            EXPECT_EQ(roundTrips, calls);
            EXPECT_EQ(transfers, 2 * calls);
        }
    }
}

// Where in a healthy write the faults strike: the first page write's transaction (bus
// transfers counted from 1), the first USB transfer that carries it, and half of all
// USB transfers.
struct Landmarks {
    long pageTransaction = 0, pageTransfer = 0, halfTransfers = 0;
};

Landmarks FindLandmarks(const char* modelBus, const std::string& file) {
    const std::string trace = TempPath("landmarks.trace");
    const Route model = {modelBus, modelBus, Transport::Model, "", true, true, ""};
    EXPECT_EQ(RunOn(model, {}, "", {"--no-preflight", "--trace", trace, "write", file}).status, 0);
    Landmarks m;
    long transactions = 0, transfers = 0;
    for (const std::string& e : TraceEvents(trace)) {
        if (e[0] == 'W' || e[0] == 'R') {
            ++transactions;
            if (!m.pageTransaction && e.rfind("W 94 94 ", 0) == 0)
                m.pageTransaction = transactions;
        } else if (e[0] == 'A') {
            ++transfers;
            if (m.pageTransaction && !m.pageTransfer)
                m.pageTransfer = transfers;
        }
    }
    m.halfTransfers = transfers / 2;
    return m;
}

TEST(AdapterRun, AdapterFailuresEndInTheFailureLineAndOneLineNamingTheError) {
    struct Case {
        const char* name;
        Lines faults;
        Lines command;
        std::string lastLine;  // of the message list; empty: any failure line
        std::string error;     // in the one stderr line, through a transport that sees ACKs
        std::string dllError;  // the same through CH341DLL.DLL; empty: no line
        std::string d2xxError; // the same through ftd2xx.dll
        bool readsFail;        // the plug-in's reads fail (its 0xFF fill stays)
        bool dataAck = false;  // `error` needs the data bytes' acknowledge
    };
    const std::string file = ExamplePath("two-bank.kvf");
    const std::string nackAddress = ": 12 bus transfers failed; the first: write of 2 bytes at "
                                    "address 94: address not acknowledged";
    const std::string nackPage = ": 1 bus transfer failed; the first: write of 257 bytes at "
                                 "address 94: not acknowledged at data byte 100";
    const auto cases = [&](const Landmarks& m) -> std::vector<Case> {
        return {
            {"NACK on the address",
             {"nack-address"},
             {"erase"},
             "Enter Isp fail.",
             nackAddress,
             "",
             nackAddress,
             true},
            {"NACK in the middle of a page",
             {"nack-data=" + std::to_string(m.pageTransaction) + ":100"},
             {"write", file},
             "Crc Error!",
             nackPage,
             "",
             nackPage,
             false,
             true},
            {"a USB transfer that fails",
             {"usb-fail=" + std::to_string(m.pageTransfer)},
             {"write", file},
             "Crc Error!",
             ": 1 bus transfer failed; the first: write of 257 bytes at address 94: USB transfer "
             "failed: Operation timed out",
             ": 1 bus transfer failed; the first: write of 257 bytes at address 94: CH341StreamI2C "
             "failed (adapter unplugged?)",
             ": 1 bus transfer failed; the first: write of 257 bytes at address 94: USB transfer "
             "failed: I/O error",
             false},
            {"unplugged halfway through a write",
             {"unplug=" + std::to_string(m.halfTransfers)},
             {"write", file},
             "",
             "No such device (it may have been disconnected)",
             "CH341StreamI2C failed (adapter unplugged?)",
             "USB transfer failed: device not found (unplugged?)",
             true},
        };
    };
    const std::string trace = TempPath("adapter-fault.trace");
    for (const Route& route : Routes()) {
        const Landmarks m = FindLandmarks(route.modelBus, file);
        ASSERT_GT(m.pageTransfer, 0) << route.modelBus;
        for (const Case& c : cases(m)) {
            // The faults count the plug-in's transfers: no pre-flight before them.
            Lines args = {"--no-preflight", "--trace", trace};
            args.insert(args.end(), c.command.begin(), c.command.end());
            const HostResult r = RunOn(route, c.faults, "", args);
            const std::string what = std::string(route.bus) + ": " + c.name;
            EXPECT_EQ(r.status, 1) << what << "\n" << r.out << r.err;
            EXPECT_EQ(SplitLines(r.out).back(), c.command[0] + ": FAILED") << what;
            Lines messages, reads;
            for (const std::string& e : PluginEvents(trace)) {
                if (e[0] == 'L')
                    messages.push_back(e.substr(2));
                if (e[0] == 'R')
                    reads.push_back(e);
            }
            ASSERT_FALSE(messages.empty()) << what;
            if (!c.lastLine.empty())
                EXPECT_EQ(messages.back(), c.lastLine) << what;
            else
                EXPECT_NE(messages.back().find_first_of("!."), std::string::npos) << what;
            if (c.readsFail && route.seesAck) {
                EXPECT_EQ(reads.back(), "R 95 FF") << what;
            }
            // The adapter's line, then the host's diagnosis (its own test).
            const Lines errors = HostLines(r.err);
            const std::string& error = c.dataAck && !route.seesDataAck          ? std::string()
                                       : route.transport == Transport::Ch341Dll ? c.dllError
                                       : route.transport == Transport::D2xx     ? c.d2xxError
                                                                                : c.error;
            if (error.empty()) {
                EXPECT_EQ(errors, Lines{}) << what;
                continue;
            }
            ASSERT_EQ(errors.size(), 1u) << what << "\n" << r.err;
            // Which adapter, how many transfers failed, then the first one's reason.
            const std::regex head(std::string("isphost: ") + route.bus +
                                  ": [0-9]+ bus transfers? failed; the first: .+");
            EXPECT_TRUE(std::regex_match(errors[0], head)) << what << "\n" << r.err;
            EXPECT_NE(errors[0].find(error), std::string::npos) << what << "\n" << r.err;
        }
    }
}

#if defined(_WIN32)
// The maker's DLL makes its transfers out of sight: --stats says so rather than count none.
TEST(AdapterRun, StatsThroughTheMakersDllSayTheUsbIsNotCounted) {
    const std::string flash = TempPath("dll-stats-flash.bin");
    std::remove(flash.c_str());
    const std::vector<Route> routes = Routes();
    const auto dll = std::find_if(routes.begin(), routes.end(), [](const Route& route) {
        return route.transport == Transport::Ch341Dll;
    });
    ASSERT_NE(dll, routes.end());
    const HostResult r = RunOn(*dll, {}, flash, {"--stats", "reset"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("; USB not counted: CH341DLL.DLL makes its own transfers\n"),
              std::string::npos)
        << r.out;
}
#endif

// A test of its own, so that sharding runs its eleven seconds per route beside the others.
TEST(AdapterRun, EnterIspSendsWhatTheChipModelGets) {
    ExpectEveryRouteActsAsTheSimulatedBus({{"enter-isp"}});
}

TEST(AdapterRun, BusesListsEveryKindWithNothingAttached) {
    const HostResult r = RunInProcess({"buses"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("i2c-dev adapters:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("CH341A adapters:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MCP2221A adapters:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("FTDI MPSSE adapters (FT232H, FT2232H, FT4232H):"), std::string::npos)
        << r.out;
#if defined(_WIN32)
    // The stand-in DLL beside the test reports one adapter, with the chip model behind it.
    EXPECT_NE(r.out.find("ch341:0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("status reads 00 at 0x4A"), std::string::npos) << r.out;
    // The stand-in ftd2xx.dll: an FT232H and both interfaces of an FT2232H, each probed.
    for (const char* bus : {"ftdi:0:A ", "ftdi:1:A ", "ftdi:1:B "})
        EXPECT_NE(r.out.find(bus), std::string::npos) << bus << "\n" << r.out;
    EXPECT_NE(r.out.find("chip answers at 0x4A (status 00)"), std::string::npos) << r.out;
#endif
}

} // namespace
} // namespace rtd::host::test
