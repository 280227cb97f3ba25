// The file-dialog filter the plug-in gives (SetIspFileExt), in the host framework's form
// "description|pattern;pattern|description|pattern...", and the same filter in each
// toolkit's syntax.
#ifndef RTD_HOST_GUI_FILEFILTER_H
#define RTD_HOST_GUI_FILEFILTER_H

#include <string>
#include <vector>

namespace rtd::gui {

struct FilterEntry {
    std::string description;
    std::vector<std::string> patterns; // "*.hex"
};

// Pairs of description and pattern list. A last description without a "|" is its own
// pattern list; empty patterns are dropped, and so are entries left with none.
std::vector<FilterEntry> ParseFileFilter(const std::string& filter);

// What a person reads for the entry: its description's name, with what it wraps in
// parentheses and its pattern-like words left out ("Firmware" when nothing is left), then
// the patterns: "(*.hex;*.bin)" for *.hex, *.bin and *.kvf reads
// "Firmware (*.hex, *.bin, *.kvf)".
std::string FilterLabel(const FilterEntry& entry);

// GetOpenFileName's lpstrFilter: "label\0pattern;pattern\0...\0", with the final extra
// zero. Empty when there is no entry.
std::string Win32Filter(const std::vector<FilterEntry>& entries);

// Fl_File_Chooser's filter: the entries' labels separated by tabs. The chooser takes an
// entry's pattern from between its label's parentheses, where FLTK reads "*.hex, *.bin"
// as *.hex alone: the file list gets FltkPattern's instead.
std::string FltkFilter(const std::vector<FilterEntry>& entries);

// The entry's patterns in fl_filename_match's syntax: "*.hex", or "{*.hex,*.bin}".
std::string FltkPattern(const FilterEntry& entry);

} // namespace rtd::gui

#endif
