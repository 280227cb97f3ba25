// Ini file reader/writer with the Windows profile functions' observable rules: section
// and key names compare case-insensitively, a missing file, section or key reads as the
// fallback, a write keeps every other line of the file byte for byte and creates the
// file, section and key as needed.
#ifndef RTD_PLATFORM_POSIX_INIFILE_H
#define RTD_PLATFORM_POSIX_INIFILE_H

#include <string>

namespace rtd::posix {

std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback);
// False when the file cannot be written; the file is then left as it was.
bool WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);

// The same rules on text held in memory (for tests and fuzzing).
std::string ReadIniText(const std::string& text, const std::string& section,
                        const std::string& key, const std::string& fallback);
std::string WriteIniText(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& value);

} // namespace rtd::posix

#endif
