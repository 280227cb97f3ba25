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

// GetOpenFileName's lpstrFilter: "description\0pattern;pattern\0...\0", with the final
// extra zero. Empty when there is no entry.
std::string Win32Filter(const std::vector<FilterEntry>& entries);

// Fl_File_Chooser's filter: entries "description (pattern)" separated by tabs, several
// patterns as "{*.hex,*.bin}". FLTK takes the pattern from between the entry's first "("
// and its last ")", so parentheses and tabs in a description are left out.
std::string FltkFilter(const std::vector<FilterEntry>& entries);

} // namespace rtd::gui

#endif
