// The commands that drive the chip, whichever front end asks for them: one row each, with
// what the command is (it needs a bus, erases the chip, takes a firmware file, runs on the
// host's side) and the export it calls. isphost's command table and ispgui's buttons name
// these rows.
#ifndef RTD_HOST_SESSION_CHIPCOMMANDS_H
#define RTD_HOST_SESSION_CHIPCOMMANDS_H

#include <ostream>
#include <string>
#include <vector>

namespace rtd::host {

struct PluginExports;

enum CommandTrait : unsigned {
    kNeedsBus = 1u << 0,       // the plug-in (or the host) is given a bus for the call
    kErasesChip = 1u << 1,     // the pre-flight runs first, unless it is turned off
    kTakesFile = 1u << 2,      // the first argument is a firmware file
    kHostSide = 1u << 3,       // the host talks to the chip itself (verify), without the plug-in
    kReportsResult = 1u << 4,  // the output ends with "<name>: OK" or "<name>: FAILED"
    kChangesSetting = 1u << 5, // the plug-in may save its setting (checked afterwards)
    // A write: erases the chip and programs the file.
    kProgramsFile = kErasesChip | kTakesFile,
};

struct ChipCommand {
    const char* name;
    unsigned traits;
    // The export call, true when the export returned true; `file` is the first argument
    // of a command that takes one. Null for a host-side command.
    bool (*callExport)(const PluginExports& exports, const std::string& file, std::ostream& out);

    // Every bit of `trait` is set.
    bool Has(unsigned trait) const { return (traits & trait) == trait; }
};

const std::vector<ChipCommand>& ChipCommands();

// The row of a command table whose name is `name`, or null.
template <class Row>
const Row* FindCommandRow(const std::vector<Row>& rows, const std::string& name) {
    for (const Row& row : rows)
        if (name == row.name)
            return &row;
    return nullptr;
}

// The row for a command name, or null.
const ChipCommand* FindChipCommand(const std::string& name);

} // namespace rtd::host

#endif
