// What X11 drag and drop delivers for a dropped file: a URI list ("file:///tmp/a%20b.hex"
// and a line end per file). The first file is the one ispgui takes.
#ifndef RTD_HOST_GUI_DROPTEXT_H
#define RTD_HOST_GUI_DROPTEXT_H

#include <string>

namespace rtd::gui {

// The local path of the first entry: "file://" with an empty or "localhost" host is cut
// and %XX escapes decoded; a line without a scheme is taken as a path. Empty when the
// first entry names no local file (another host, another scheme, nothing).
std::string PathFromDropText(const std::string& text);

} // namespace rtd::gui

#endif
