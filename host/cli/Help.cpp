#include "Help.h"

#include "CommandTable.h"

#ifndef RTD_VERSION
#define RTD_VERSION "0.0.0"
#endif

namespace rtd::host {

namespace {

const char* const kIntro = R"(Usage: isphost [options] COMMAND [ARGS]

Drives the RTD2120 in-system programming plug-in through its exports, with a
simulated chip or a real I2C adapter as the bus.

)";

const char* const kRest = R"(Options:
  --plugin PATH      the plug-in to load (default: librtd2120.so / RTD2120.dll beside
                     isphost, else in ../plugin, else in the install's library folder)
  --bus sim          the simulated chip (default)
  --bus /dev/i2c-N   a Linux i2c-dev adapter; the chip answers at 7-bit addresses 0x4A, 0x4B
  --bus ch341[:N]    the N-th CH341A USB adapter (default 0): libusb on Linux, the maker's
                     CH341DLL.DLL on Windows (docs/ADAPTERS.md: wiring, permissions, drivers)
  --bus ch341:model  a dry run: the exact CH341A packets, decoded by a model of the adapter
                     into the simulated chip (--sim-flash, --sim-fault apply)
  --bus ftdi[:DESC]  an FTDI FT232H, FT2232H or FT4232H through its MPSSE: libftdi1 on
                     Linux, ftd2xx.dll on Windows. DESC: N (the N-th, from 0), a serial
                     number, or an interface A-D, alone or after them (ftdi:0:B)
  --bus ftdi:model[:ft2232h|:ft4232h]
                     a dry run: the exact MPSSE commands (FT232H by default), run by a
                     model of the engine into the simulated chip
  --bus mcp2221[:N]  the N-th MCP2221A USB-HID adapter (default 0): hidraw on Linux, the
                     system's HID driver on Windows (nothing to install)
  --bus mcp2221:model
                     a dry run: the exact MCP2221A reports, decoded by a model of the
                     adapter into the simulated chip
  --bus-speed KHZ    the bus clock of a USB adapter: 20, 100 (default), 400 or 750; refused
                     where the adapter cannot set it (i2c-dev: the kernel driver sets it;
                     FTDI, MCP2221A: 100 or 400)
  --sim-flash FILE   load the simulated flash from FILE before the command and save it
                     after (131,072 bytes, bank 0 then bank 1; a missing file is a blank chip)
  --sim-fault FAULT   make the simulated chip misbehave (repeatable), FAULT one of:
                       no-isp            never reports ISP mode
                       isp-after=N       enters ISP mode from the N-th attempt on
                       erase-busy=N      every erase stays busy for N status reads
                       page-busy=N[@K]   page programming busy for N reads (every page, or page K)
                       crc-range-busy=N  the CRC range stays busy for N reads
                       crc-busy=N        the CRC engine stays busy for N reads
                       stuck=B:ADDR      flash byte ADDR (hex) of bank B cannot be programmed
                       read-fail         every read fails and leaves the buffer as it was
                       drop-writes       every write is ignored
                       power-cut@K       the power goes before bus transfer K (from 0): no
                                         answers, reads 0xFF; the saved flash holds what
                                         was erased and programmed, a page under way half
                     and, with an adapter model (ch341:model, ftdi:model, mcp2221:model),
                     faults of the
                     wires and USB:
                       nack-address      nothing acknowledges its address
                       nack-address=T    addresses acknowledged up to bus transfer T-1 only
                       nack-data=T:B     bus transfer T stops being acknowledged at data byte B
                       usb-fail=U        USB transfer U fails (a timeout)
                       unplug=U          USB transfer U and all after it fail: adapter gone
                       engine-busy=T     (mcp2221:model) the adapter answers busy in bus
                                         transfer T until it is cancelled
  --sim-adapter LIMIT  give the simulated bus the limit of a real adapter (repeatable):
                       max-write=N       writes longer than N bytes are refused
                       nack=ADDR         nothing acknowledges 7-bit ADDR (hex: 4A, 4B)
                       no-pullups        no write is acknowledged, every read answers FF
                       swap=N            station: after each board the chip is gone for N
                                         bus writes (a probe is one), then a new board
                                         answers: blank, without the --sim-fault faults
  --no-preflight     write and erase without the pre-flight (see check)
  --trace FILE       record every event, one per line: "W 94 90 40" bus write, "R 95 40"
                     bus read (upper-case hex), "P 37" progress, "L text" message line,
                     "C" message list cleared; with a USB adapter also its packets,
                     "A > AA 74 ..." sent and "A < 00" received
  --auto-fire-second on|off
                     store the plug-in's one setting in Torvan.ini before the command: on,
                     a HEX write also programs bank 1 from the extend file beside it
                     (FILE_Extend.bin, FILE_Extend.hex, DEROredovOrovav.bin, .hex)
  --quiet, -q        print only the result
  --if-different     write, station: verify first and write nothing when every bank
                     matches
  --log FILE         station: the CSV log, appended to; one row per board: time (UTC),
                     file, SHA-256, passed/failed, the chip's CRC-8 per bank, seconds
  --boards N         station: stop after N boards (default: until Ctrl-C)
  --stats            after a bus command: bus calls, bytes on the bus, time between bus
                     calls against wall time, bus time projected at 100 and 400 kHz; on
                     a USB adapter its USB transfers and their projected time
  --json             one JSON object per line on stdout for every event, then a
                     "result" object (bus commands; schema in docs/HOST.md)
  --help, -h         this text
  --version          the version

Output: the message list's lines as the plug-in adds them, progress as a bar on a
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

Examples:
  isphost info
  isphost --sim-flash chip.bin write examples/two-bank.kvf
  isphost --sim-fault isp-after=2 --trace erase.trace erase
  isphost --sim-fault stuck=1:0010 write examples/raw-image.bin     # ends "Crc Error!"
  isphost --bus /dev/i2c-1 write firmware.hex
  isphost --bus /dev/i2c-1 verify firmware.hex                      # 0: every bank matches
  isphost --bus ch341 station firmware.hex --log line1.csv          # Ctrl-C to end
  isphost buses
  isphost --bus /dev/i2c-1 check
  isphost --sim-adapter max-write=61 write examples/two-bank.kvf   # refused, exit 2
  isphost --bus ch341 --bus-speed 400 write firmware.hex
  isphost --bus ch341:model --trace packets.trace --sim-flash chip.bin write examples/two-bank.kvf
  isphost --bus ftdi:0:A --bus-speed 400 write firmware.hex
  isphost --bus ftdi:model --trace mpsse.trace erase
  isphost image info examples/app.hex
  isphost image convert examples/two-bank.kvf image.bin && cmp image.bin chip.bin
)";

// "  write FILE                  program FILE ...", continuation lines under the text.
std::string CommandsSection() {
    const size_t column = 30;
    std::string text = "Commands:\n";
    for (const HostCommand& c : HostCommands()) {
        std::string line = std::string("  ") + c.usage;
        line.append(line.size() < column ? column - line.size() : 1, ' ');
        for (const char* p = c.help; *p; ++p) {
            line += *p;
            if (*p == '\n')
                line.append(column, ' ');
        }
        text += line + "\n";
    }
    return text + "\n";
}

} // namespace

std::string HelpText() {
    return kIntro + CommandsSection() + kRest;
}

const char* VersionText() {
    return "isphost " RTD_VERSION;
}

} // namespace rtd::host
