// The bank-1 "extend" file that may lie beside an Intel HEX main file.
#ifndef RTD_IMAGE_EXTENDFILE_H
#define RTD_IMAGE_EXTENDFILE_H

#include <functional>
#include <string>

namespace rtd::image {

// Tells whether a path names an existing regular file (not a folder).
using FileExists = std::function<bool(const std::string&)>;

// The four names looked for in the main file's folder, in order of preference; "*" stands
// for the main file's base name.
constexpr const char* kExtendNames[4] = {"*_Extend.bin", "*_Extend.hex", "DEROredovOrovav.bin",
                                         "DEROredovOrovav.hex"};

// The main file's name cut in front of the first place its extension occurs in it
// ("fw.hex.hex" -> "fw"); keeps its own case.
std::string ExtendBaseName(const std::string& mainPath);

// Takes the first of the four candidates in the main file's folder for which `exists` is
// true; false when none is.
bool FindExtendFile(const std::string& mainPath, std::string& extendPath, const FileExists& exists);

} // namespace rtd::image

#endif
