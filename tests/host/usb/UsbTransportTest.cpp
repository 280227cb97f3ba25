// The real isphost on its Linux USB transports (Ch341Usb.cpp on libusb-1.0, LibFtdiLink.cpp
// on libftdi1), run against the stand-in libraries with the adapter and chip models behind
// them: the listing, the USB stack's refusals, failed transfers and a pulled plug, each
// ending in its exit status and one line, and full writes that leave the image in flash.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>

#include "HostRun.h"
#include "ImageTools.h"

namespace rtd::host::test {
namespace {

using Lines = std::vector<std::string>;

struct Transport {
    const char* bus;
    const char* listed; // its line in `isphost buses`
    const char* interface;
};

const Transport kTransports[] = {
    {"ch341:0", "  ch341:0  USB bus 001 device 005  chip answers at 0x4A (status 00)", "0"},
    {"ftdi:1:B",
     "  ftdi:1:B  FT2232H \"Dual RS232-HS\" serial FT000002   chip answers at 0x4A "
     "(status 00)",
     "1"},
};

// Where in a healthy write a transfer fault strikes, counted over the bulk transfers of
// the adapter's trace ("A" lines) from 1.
enum class At { Nowhere, FirstRead, PageStart, PageMiddle };

struct Landmarks {
    long firstRead = 0, pageStart = 0, pageMiddle = 0;
    long Of(At at) const {
        return at == At::FirstRead ? firstRead : at == At::PageStart ? pageStart : pageMiddle;
    }
};

Landmarks FindLandmarks(const std::string& tracePath) {
    Landmarks m;
    long transfers = 0, pageTransfers = 0;
    bool inPage = false, pageDone = false;
    for (const std::string& e : SplitLines(ReadFileText(tracePath))) {
        if (e[0] != 'A') {
            pageDone = pageDone || (inPage && pageTransfers > 0);
            inPage = !pageDone && e.rfind("W 94 94 ", 0) == 0;
            continue;
        }
        ++transfers;
        if (!m.firstRead && e.rfind("A <", 0) == 0)
            m.firstRead = transfers;
        if (inPage && !pageDone && !pageTransfers++)
            m.pageStart = transfers;
    }
    m.pageMiddle = m.pageStart + (pageTransfers - 1) / 2;
    return m;
}

struct StandInRun {
    HostResult result;
    Lines log;
};

// isphost with the stand-in libraries in front of the system's.
StandInRun RunOnStandIns(const std::string& faults, const std::string& flash,
                         const std::string& args) {
    const std::string log = TempPath("usb-calls.log"), dir = TempPath("usb-run-");
    std::remove(log.c_str());
    // Taken once: the scope below removes the variable when it ends.
    static const char* const searched = std::getenv("LD_LIBRARY_PATH");
    static const std::string kept = searched ? std::string(":") + searched : "";
    ScopedEnv path("LD_LIBRARY_PATH", RTD_TEST_USB_STANDINS + kept);
    ScopedEnv envFaults("RTD_USB_MODEL_FAULTS", faults);
    ScopedEnv envFlash("RTD_USB_MODEL_FLASH", flash);
    ScopedEnv envLog("RTD_USB_MODEL_LOG", log);
    StandInRun run;
    run.result = RunExecutable(ExecutablePath(), "--plugin " + PluginPath() + " " + args, dir);
    run.log = SplitLines(ReadFileText(log));
    return run;
}

// The lines isphost writes to stderr, but the diagnosis (its own test).
Lines ErrorLines(const std::string& err) {
    Lines lines;
    for (const std::string& line : SplitLines(err))
        if (line.rfind("isphost: diagnosis: ", 0) != 0)
            lines.push_back(line);
    return lines;
}

TEST(UsbTransports, EachScenarioEndsInItsStatusAndLine) {
    const std::string file = ExamplePath("two-bank.kvf");
    const std::vector<uint8_t> image = PlanFor(file, false).image;
    const std::string flash = TempPath("usb-flash.bin"), trace = TempPath("usb.trace");
    struct Case {
        const char* name;
        const char* fault; // its count appended when `at` is not Nowhere
        At at;
        const char* command; // "write" writes the example image
        int status;
        std::string line[2]; // found in the one stderr line, per transport; empty: no line
        bool restores;       // a healthy write afterwards, on the same flash, verifies
        bool driverCycle;    // the kernel driver detached for the claim, bound at the release
    };
    const std::string page = ": 1 bus transfer failed; the first: write of 257 bytes at address "
                             "94: USB transfer failed: ";
    const std::string gone = "[0-9]+ bus transfers failed; the first: write of 257 bytes at "
                             "address 94: USB transfer failed: No such device";
    const Case cases[] = {
        {"no permission",
         "open-denied",
         At::Nowhere,
         "reset",
         2,
         {"no permission to open the CH341A on USB bus 001 device 005: install "
          "host/udev/60-rtd2120-adapters.rules",
          "no permission to open ftdi:1:B: install host/udev/60-rtd2120-adapters.rules"},
         false,
         false},
        {"claimed by another process",
         "claimed",
         At::Nowhere,
         "reset",
         2,
         {"bus busy: another program has claimed the CH341A on USB bus 001 device 005",
          "bus busy: another program has claimed ftdi:1:B"},
         false,
         false},
        {"kernel driver bound", "kernel-driver", At::Nowhere, "reset", 0, {"", ""}, false, true},
        {"short write in a page",
         "usb-short=",
         At::PageStart,
         "write",
         1,
         {page + "the adapter took only part of a packet", page + "[0-9]+ of [0-9]+ bytes sent"},
         true,
         false},
        {"short read", "usb-short=", At::FirstRead, "write", 0, {"", ""}, false, false},
        {"write timed out in a page",
         "usb-fail=",
         At::PageStart,
         "write",
         1,
         {page + "Operation timed out", page + "Operation timed out"},
         true,
         false},
        // Early in the entry loop, which tries again: only the CH341A's transport, which
        // reads the answer at once, sees it; libftdi's empty read is read again.
        {"read timed out",
         "usb-fail=",
         At::FirstRead,
         "write",
         0,
         {"write of 2 bytes at address 94: USB transfer failed: Operation timed out", ""},
         false,
         false},
        {"unplugged in the middle of a page",
         "unplug=",
         At::PageMiddle,
         "write",
         1,
         {gone, gone},
         true,
         false},
    };
    for (size_t t = 0; t < std::size(kTransports); ++t) {
        const Transport& transport = kTransports[t];
        const std::string bus = std::string("--bus ") + transport.bus + " --no-preflight ";

        const StandInRun listing = RunOnStandIns("", "", "buses");
        EXPECT_EQ(listing.result.status, 0) << listing.result.err;
        EXPECT_NE(listing.result.out.find(transport.listed), std::string::npos)
            << transport.listed << "\n"
            << listing.result.out;

        std::remove(flash.c_str());
        const StandInRun healthy =
            RunOnStandIns("", flash, bus + "--trace " + trace + " write " + file);
        ASSERT_EQ(healthy.result.status, 0) << transport.bus << "\n" << healthy.result.err;
        EXPECT_EQ(ReadFileBytes(flash), image) << transport.bus;
        const Landmarks m = FindLandmarks(trace);
        ASSERT_GT(m.firstRead, 0) << transport.bus;
        ASSERT_GT(m.pageStart, m.firstRead) << transport.bus;

        for (const Case& c : cases) {
            const std::string what = std::string(transport.bus) + ": " + c.name;
            const std::string fault =
                c.fault + (c.at == At::Nowhere ? "" : std::to_string(m.Of(c.at)));
            const std::string command =
                c.command + std::string(c.command[0] == 'w' ? " " + file : "");
            std::remove(flash.c_str());
            const StandInRun r = RunOnStandIns(fault, flash, bus + command);
            EXPECT_EQ(r.result.status, c.status) << what << "\n" << r.result.out << r.result.err;
            const Lines errors = ErrorLines(r.result.err);
            if (c.line[t].empty()) {
                EXPECT_EQ(errors, Lines{}) << what;
            } else {
                ASSERT_EQ(errors.size(), 1u) << what << "\n" << r.result.err;
                EXPECT_TRUE(std::regex_search(errors[0], std::regex(c.line[t]))) << what << "\n"
                                                                                 << errors[0];
            }
            if (c.status == 0 && c.command[0] == 'w') {
                EXPECT_EQ(ReadFileBytes(flash), image) << what;
            }
            if (c.restores) {
                const StandInRun again = RunOnStandIns("", flash, bus + command);
                EXPECT_EQ(again.result.status, 0) << what << "\n" << again.result.err;
                EXPECT_EQ(ReadFileBytes(flash), image) << what;
            }
            if (c.driverCycle) {
                const std::string i = transport.interface;
                const Lines cycle = {"open",         "detach " + i, "claim " + i,
                                     "release " + i, "attach " + i, "close"};
                ASSERT_GE(r.log.size(), cycle.size()) << what;
                EXPECT_EQ(Lines(r.log.end() - static_cast<long>(cycle.size()), r.log.end()), cycle)
                    << what;
            }
        }
    }
}

} // namespace
} // namespace rtd::host::test
