// Command-line parsing: what is accepted and the one-line reason for what is not.
#include <gtest/gtest.h>

#include "CommandTable.h"
#include "Help.h"
#include "I2cWireModel.h"
#include "LinkFaults.h"
#include "ModelChip.h"
#include "OptionTable.h"
#include "Options.h"
#include "SimAdapter.h"

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
    for (const Args& args :
         {Args{"--help"}, Args{"-h"}, Args{"--version"}, Args{"-V"}, Args{"bogus", "-h"}}) {
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
        {{"--json", "info"}, "--json applies to write, verify, station, erase, "},
        {{"--stats", "image", "info", "a.kvf"}, "--stats applies to write, "},
        {{"--if-different", "verify", "a.kvf"},
         "--if-different applies to write or station, not to verify"},
        {{"write", "a.kvf", "--log", "l.csv"}, "--log applies to station, not to write"},
        {{"--boards", "2", "erase"}, "--boards applies to station, not to erase"},
        // A forgotten value never takes the command or the next option.
        {{"--bus-speed", "info"}, "--bus-speed needs a value"},
        {{"--trace", "image", "info", "a.kvf"}, "--trace needs a value"},
        {{"--sim-fault", "--quiet", "erase"}, "--sim-fault needs a value"},
        {{"--bus", "--", "erase"}, "--bus needs a value"},
        {{"station", "a.kvf"}, "station needs --log LOG.csv"},
        {{"station", "a.kvf", "--log", "l.csv", "--boards", "0"}, "--boards takes a count from 1"},
        {{"station", "a.kvf", "--log", "l.csv", "--boards", "2x"}, "--boards takes a count"},
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

// `head` starts a line of `help` and is followed by its text (on that line or the next).
bool HelpHasEntry(const std::string& help, const std::string& head) {
    return help.find(head + " ") != std::string::npos ||
           help.find(head + "\n ") != std::string::npos;
}

// Every row of the option table is read by the parser, alias and value included, and
// shown by --help.
TEST(Options, ParsesAndShowsEveryOptionRow) {
    const std::string help = HelpText();
    for (const HostOption& row : HostOptions()) {
        for (const char* spelling : {row.name, row.alias}) {
            if (!spelling)
                continue;
            Args args{spelling};
            if (row.valueName)
                args.push_back("v");
            Options o;
            Args words;
            std::string error;
            ASSERT_TRUE(ParseOptionWords(args, &o, &words, &error)) << spelling << ": " << error;
            EXPECT_TRUE(row.GivenIn(o)) << spelling;
            EXPECT_TRUE(words.empty()) << spelling;
        }
        for (const std::string& head : row.Heads())
            EXPECT_TRUE(HelpHasEntry(help, "\n  " + head)) << head;
    }
}

// Every fault and adapter limit --help lists is taken by its own parser.
TEST(Options, ParsesAndShowsEveryFaultRow) {
    sim::ChipModel chip;
    I2cWireModel wire(&chip);
    FaultyLink link(nullptr);
    using Parser = bool (*)(const std::string&, sim::ChipModel&, I2cWireModel&, FaultyLink&);
    const struct {
        const std::vector<sim::FaultForm>& forms;
        Parser parse;
    } lists[] = {
        {sim::ChipFaultForms(), [](const std::string& f, sim::ChipModel& c, I2cWireModel&,
                                   FaultyLink&) { return c.AddFault(f); }},
        {AdapterModelFaultForms(),
         [](const std::string& f, sim::ChipModel&, I2cWireModel& w, FaultyLink& l) {
             std::string error;
             return I2cWireModel::Knows(f) ? w.AddFault(f, &error) : l.AddFault(f, &error);
         }},
        {SimAdapter::LimitForms(),
         [](const std::string& f, sim::ChipModel&, I2cWireModel&, FaultyLink&) {
             BusOptions options;
             options.simAdapter = {f};
             SimAdapter adapter;
             std::string error;
             return adapter.Setup(options, &error);
         }},
    };
    const std::string help = HelpText();
    for (const auto& list : lists) {
        ASSERT_FALSE(list.forms.empty());
        for (const sim::FaultForm& f : list.forms) {
            EXPECT_TRUE(list.parse(f.example, chip, wire, link)) << f.example;
            EXPECT_TRUE(HelpHasEntry(help, "\n" + std::string(23, ' ') + f.form)) << f.form;
        }
    }
}

TEST(Options, HelpNamesEveryCommandAndExitStatus) {
    const std::string help = HelpText();
    for (const HostCommand& c : HostCommands())
        EXPECT_TRUE(HelpHasEntry(help, std::string("\n  ") + c.usage)) << c.usage;
    for (const char* topic : {"Exit status", "  0  ", "  1  ", "  2  ", "Examples"})
        EXPECT_NE(help.find(topic), std::string::npos) << topic;
}

} // namespace
} // namespace rtd::host
