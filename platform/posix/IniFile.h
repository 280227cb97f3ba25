// Ini file reader/writer with the Windows profile functions' observable rules: section
// and key names compare case-insensitively, a missing file, section or key reads as the
// fallback, a write keeps every other line of the file byte for byte and creates the
// file, section and key as needed. Only the first section of a name is read or written.
#ifndef RTD_PLATFORM_POSIX_INIFILE_H
#define RTD_PLATFORM_POSIX_INIFILE_H

#include <string>

namespace rtd::posix {

std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback);
// False when the file cannot be written, cannot be read back first (its other lines
// would be lost), is read-only, or the entry cannot be stored (IsStorableIniEntry); the
// file is then left as it was.
bool WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);

// The same rules on text held in memory (for tests and fuzzing).
std::string ReadIniText(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& fallback);
std::string WriteIniText(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& value);

// False for an entry that would not read back as written: a line break anywhere, an
// empty section or key, "]" in the section, "=" in the key, a key starting with "[" or ";".
bool IsStorableIniEntry(const std::string& section, const std::string& key,
                        const std::string& value);

// Section and key names compare without regard to ASCII case.
bool SameIniName(const std::string& a, const std::string& b);

} // namespace rtd::posix

#endif
