#include "Help.h"

#include "CommandTable.h"
#include "OptionTable.h"

#ifndef RTD_VERSION
#define RTD_VERSION "0.0.0"
#endif

namespace rtd::host {

namespace {

const char* const kIntro = R"(Usage: isphost [options] COMMAND [ARGS]

Drives the RTD2120 in-system programming plug-in through its exports, with a
simulated chip or a real I2C adapter as the bus.

)";

const char* const kRest =
    R"(Output: the message list's lines as the plug-in adds them, progress as a bar on a
terminal or as "NN%" lines otherwise, then "<command>: OK" or "<command>: FAILED".
A write ends with one "Summary:" line: banks, bytes written, pages sent, CRC-8 per
bank, time.
The plug-in writes its setting to Torvan.ini beside the isphost executable on unload.

Exit status:
  0  the command succeeded (the export returned true; image tools: file accepted)
  1  the command failed (the export returned false; verify: a bank does not match;
     station: a board failed, or the log could not be written;
     image tools: file refused or not written; a simulated flash file that could not
     be saved)
  2  usage error, or the plug-in, bus, trace or flash file could not be set up
     (one line on stderr says why: an unknown adapter, a missing CH341DLL.DLL,
     ftd2xx.dll, libusb or libftdi1, a device that cannot be opened, "bus busy":
     another isphost or program holds it),
     or the pre-flight refused the bus (one line: the reason and the fix); nothing
     was sent that changes the chip
Before write and erase the pre-flight checks, with transfers that change nothing on
the chip, that the adapter carries plain I2C and 257-byte writes and that a device
answers at 0x4A and 0x4B. After a command on an adapter, one line on stderr names the
first failed bus transfer and how many failed; after a failed command, "diagnosis:"
lines say what the host saw (the bank, the status bytes, whether reads looked stuck).

Examples (each comment says how the run ends: its exit status, a line it prints):
  isphost info                                                  # exit 0
  isphost --sim-flash chip.bin write examples/two-bank.kvf      # "write: OK"
  isphost --sim-fault isp-after=2 --trace erase.trace erase     # "erase: OK"
  isphost --sim-fault stuck=1:0010 write examples/two-bank.kvf  # "Crc Error!", exit 1
  isphost --bus /dev/i2c-1 write firmware.hex                   # "write: OK"
  isphost --bus /dev/i2c-1 verify firmware.hex                  # exit 0: every bank matches
  isphost --bus ch341 station firmware.hex --log line1.csv --boards 1
                                                                # "Boards: 1 passed, 0 failed"
  isphost buses                                                 # exit 0
  isphost --bus /dev/i2c-1 check                                # "check: OK"
  isphost --sim-adapter max-write=61 write examples/two-bank.kvf  # exit 2: refused
  isphost --bus ch341 --bus-speed 400 write firmware.hex        # "write: OK"
  isphost --bus ch341:model --trace packets.trace --sim-flash chip.bin write examples/two-bank.kvf
                                                                # "write: OK"
  isphost --bus ftdi:0:A --bus-speed 400 write firmware.hex     # "write: OK"
  isphost --bus ftdi:model --trace mpsse.trace erase            # "erase: OK"
  isphost image info examples/app.hex                           # exit 0
  isphost image convert examples/two-bank.kvf image.bin         # exit 0
)";

// `text` with each '\n' followed by `column` blanks: its continuation lines.
std::string Continued(const char* text, size_t column) {
    std::string lines;
    for (const char* p = text; *p; ++p) {
        lines += *p;
        if (*p == '\n')
            lines.append(column, ' ');
    }
    return lines + "\n";
}

// `head` at `indent`, then `text` from `column` on: a head a little too long pushes the
// text two blanks after it, a longer one to the next line.
std::string Entry(size_t indent, const std::string& head, size_t column, const char* text) {
    std::string line = std::string(indent, ' ') + head;
    if (line.size() + 2 <= column)
        line.append(column - line.size(), ' ');
    else if (line.size() + 2 <= column + 4)
        line += "  ";
    else
        line += "\n" + std::string(column, ' ');
    return line + Continued(text, column);
}

// "  write FILE                  program FILE ...", continuation lines under the text.
std::string CommandsSection() {
    std::string text = "Commands:\n";
    for (const HostCommand& c : HostCommands())
        text += Entry(2, c.usage, 30, c.help);
    return text + "\n";
}

std::string OptionsSection() {
    const size_t column = 21, listIndent = 23, listColumn = 41;
    std::string text = "Options:\n";
    for (const HostOption& row : HostOptions()) {
        const std::vector<std::string> heads = row.Heads();
        for (size_t i = 0; i < heads.size(); ++i)
            text += Entry(2, heads[i], column, row.forms.empty() ? row.help : row.forms[i].second);
        for (const OptionValues& list : row.lists) {
            if (list.heading)
                text += std::string(column, ' ') + Continued(list.heading, column);
            for (const sim::FaultForm& f : *list.forms)
                text += Entry(listIndent, f.form, listColumn, f.help);
        }
    }
    return text + "\n";
}

} // namespace

std::string HelpText() {
    return kIntro + CommandsSection() + OptionsSection() + kRest;
}

const char* VersionText() {
    return "isphost " RTD_VERSION;
}

} // namespace rtd::host
