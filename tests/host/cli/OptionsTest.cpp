// Command-line parsing: what is accepted and the one-line reason for what is not.
#include <gtest/gtest.h>

#include "CommandTable.h"
#include "Help.h"
#include "Options.h"

namespace rtd::host {
namespace {

using Args = std::vector<std::string>;

struct Accepted {
    Args args;
    std::string command;
    Args arguments;
};

TEST(Options, AcceptsEveryCommandWithOptionsAnywhere) {
    const Accepted cases[] = {
        {{"info"}, "info", {}},
        {{"write", "fw.hex"}, "write", {"fw.hex"}},
        {{"verify", "fw.hex"}, "verify", {"fw.hex"}},
        {{"--quiet", "erase"}, "erase", {}},
        {{"reset", "--trace", "t.txt"}, "reset", {}},
        {{"enter-isp"}, "enter-isp", {}},
        {{"about"}, "about", {}},
        {{"setup"}, "setup", {}},
        {{"buses"}, "buses", {}},
        {{"image", "info", "a.kvf"}, "image info", {"a.kvf"}},
        {{"image", "convert", "a.hex", "o.bin"}, "image convert", {"a.hex", "o.bin"}},
        {{"image", "pack", "a.bin", "o.kvf"}, "image pack", {"a.bin", "o.kvf"}},
        // "--" ends the options, so a file may start with a dash.
        {{"write", "--", "-odd.bin"}, "write", {"-odd.bin"}},
    };
    for (const Accepted& c : cases) {
        Options o;
        std::string error;
        ASSERT_TRUE(ParseOptions(c.args, &o, &error)) << c.args[0] << ": " << error;
        EXPECT_EQ(o.command, c.command);
        EXPECT_EQ(o.arguments, c.arguments);
    }
}

TEST(Options, TakesValuesInBothSpellingsAndRepeatsFaults) {
    Options o;
    std::string error;
    ASSERT_TRUE(ParseOptions({"--plugin=/x/lib.so", "--bus", "/dev/i2c-3", "--trace=t", "-q",
                              "--auto-fire-second", "on", "erase"},
                             &o, &error))
        << error;
    EXPECT_EQ(o.plugin, "/x/lib.so");
    EXPECT_EQ(o.bus, "/dev/i2c-3");
    EXPECT_EQ(o.trace, "t");
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.autoFireSecond, "on");
    EXPECT_FALSE(UsesChipModel(o));
    EXPECT_FALSE(o.json || o.stats || o.ifDifferent);

    ASSERT_TRUE(
        ParseOptions({"write", "--if-different", "--json", "--stats", "fw.kvf"}, &o, &error))
        << error;
    EXPECT_TRUE(o.json && o.stats && o.ifDifferent);
    EXPECT_EQ(o.arguments, (Args{"fw.kvf"}));

    ASSERT_TRUE(ParseOptions(
        {"--sim-fault", "no-isp", "--sim-fault=crc-busy=3", "--sim-flash", "f.bin", "reset"}, &o,
        &error));
    EXPECT_EQ(o.simFaults, (Args{"no-isp", "crc-busy=3"}));
    EXPECT_EQ(o.simFlash, "f.bin");
    EXPECT_TRUE(UsesChipModel(o));
    EXPECT_FALSE(o.noPreflight);

    ASSERT_TRUE(ParseOptions(
        {"--sim-adapter", "nack=4B", "--no-preflight", "--sim-adapter=max-write=61", "write", "f"},
        &o, &error));
    EXPECT_EQ(o.simAdapter, (Args{"nack=4B", "max-write=61"}));
    EXPECT_TRUE(o.noPreflight);
}

TEST(Options, HelpAndVersionNeedNoCommand) {
    for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"--version"}, Args{"bogus", "-h"}}) {
        Options o;
        std::string error;
        EXPECT_TRUE(ParseOptions(args, &o, &error)) << args[0];
        EXPECT_TRUE(o.help || o.version);
    }
}

struct Refused {
    Args args;
    std::string reason; // a part of the one-line reason
};

TEST(Options, RefusesWithAOneLineReason) {
    const Refused cases[] = {
        {{}, "no command given"},
        {{"flash"}, "unknown command 'flash'"},
        {{"write"}, "usage: isphost [options] write FILE"},
        {{"write", "a", "b"}, "usage: isphost [options] write FILE"},
        {{"erase", "now"}, "usage: isphost [options] erase"},
        {{"image"}, "image needs a subcommand"},
        {{"image", "show", "x"}, "unknown command 'image show'"},
        {{"image", "convert", "a.hex"}, "image convert FILE OUT.bin"},
        {{"--frobnicate", "info"}, "unknown option --frobnicate"},
        {{"info", "--plugin"}, "--plugin needs a value"},
        {{"--trace=", "info"}, "--trace needs a value"},
        {{"--quiet=yes", "info"}, "--quiet takes no value"},
        {{"--bus", "i2c1", "erase"}, "--bus takes sim, /dev/i2c-N"},
        {{"--bus", "/dev/i2c-1", "--sim-fault", "no-isp", "erase"}, "apply only to --bus sim"},
        {{"--bus", "/dev/i2c-1", "--sim-flash", "f", "erase"}, "apply only to --bus sim"},
        {{"--bus-speed", "300", "erase"}, "--bus-speed takes 20, 100, 400 or 750 (kHz)"},
        {{"--bus", "/dev/i2c-1", "--bus-speed", "400", "erase"}, "the system sets its clock"},
        {{"--bus", "ftdi:model", "--bus-speed", "750", "erase"}, "runs at 100, 400 kHz"},
        {{"--bus", "ftdi:0:E", "erase"}, "the interface is a letter A to D"},
        {{"--auto-fire-second", "yes", "info"}, "takes on or off"},
        {{"--json", "info"}, "--json applies to the commands that use the bus"},
        {{"--stats", "image", "info", "a.kvf"}, "--stats applies to the commands that use"},
        {{"--if-different", "verify", "a.kvf"}, "--if-different applies to write and station"},
        {{"station", "a.kvf"}, "station needs --log LOG.csv"},
        {{"station", "a.kvf", "--log", "l.csv", "--boards", "0"}, "--boards takes a count from 1"},
        {{"station", "a.kvf", "--log", "l.csv", "--boards", "2x"}, "--boards takes a count"},
        {{"write", "a.kvf", "--log", "l.csv"}, "--log and --boards apply to station only"},
        {{"--json=1", "erase"}, "--json takes no value"},
        {{"verify"}, "usage: isphost [options] verify FILE"},
        {{"--bus", "ch341:model", "--sim-adapter", "no-pullups", "erase"},
         "--sim-adapter applies only to --bus sim"},
        {{"--no-preflight=yes", "erase"}, "--no-preflight takes no value"},
    };
    for (const Refused& c : cases) {
        Options o;
        std::string error;
        EXPECT_FALSE(ParseOptions(c.args, &o, &error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

// --help must answer for everything the parser and the chip model accept.
TEST(Options, HelpNamesEveryCommandOptionFaultAndExitStatus) {
    const std::string help = HelpText();
    for (const HostCommand& c : HostCommands())
        EXPECT_NE(help.find(std::string("\n  ") + c.usage + " "), std::string::npos) << c.usage;
    for (const char* topic : {"--plugin PATH",
                              "--bus sim",
                              "--bus /dev/i2c-N",
                              "--bus ch341[:N]",
                              "--bus ch341:model",
                              "--bus ftdi[:DESC]",
                              "--bus ftdi:model",
                              "--bus-speed KHZ",
                              "buses",
                              "nack-address",
                              "nack-data=T:B",
                              "usb-fail=U",
                              "unplug=U",
                              "--sim-flash FILE",
                              "--sim-fault FAULT",
                              "--trace FILE",
                              "--sim-adapter LIMIT",
                              "max-write=N",
                              "nack=ADDR",
                              "no-pullups",
                              "--no-preflight",
                              "--auto-fire-second on|off",
                              "--quiet",
                              "--help",
                              "--version",
                              "no-isp",
                              "isp-after=N",
                              "erase-busy=N",
                              "page-busy=N[@K]",
                              "crc-range-busy=N",
                              "crc-busy=N",
                              "stuck=B:ADDR",
                              "read-fail",
                              "drop-writes",
                              "power-cut@K",
                              "Exit status",
                              "  0  ",
                              "  1  ",
                              "  2  ",
                              "Examples:"})
        EXPECT_NE(help.find(topic), std::string::npos) << topic;
}

} // namespace
} // namespace rtd::host
