#include "Quonunit.h"

#include <memory>

#include "IniNumber.h"
#include "Platform.h"

namespace {

const char* const kFileName = "Torvan.ini";
const char* const kSection = "RTD2120CFG";
const char* const kKey = "AUTOFIRESECOND";
// Values longer than this are cut, as the profile functions' 2048-byte buffer does.
const size_t kMaxValueLength = 2047;

} // namespace

TIniFile::~TIniFile() {
    rtd::CurrentPlatform().FlushIni(path_);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) {
    std::string value = rtd::CurrentPlatform().ReadIniString(path_, section, key, fallback);
    if (value.size() > kMaxValueLength)
        value.resize(kMaxValueLength);
    return value;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) {
    return rtd::IniTextToInteger(ReadString(section, key, ""), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    rtd::Platform& platform = rtd::CurrentPlatform();
    return platform.MakeFolderFor(path_) && platform.WriteIniString(path_, section, key, value);
}

bool TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

std::string SettingsFilePath() {
    return rtd::CurrentPlatform().SettingsFilePath(kFileName);
}

TIniFile* OpenIniFile() {
    return new TIniFile(SettingsFilePath());
}

bool LoadAutoFireSecond() {
    try {
        std::unique_ptr<TIniFile> ini(OpenIniFile());
        return ini->ReadBool(kSection, kKey, false);
    } catch (...) {
        return false; // an unreadable setting starts false
    }
}

bool SaveAutoFireSecond(bool value) {
    // Runs while the library unloads: nothing may escape from here.
    try {
        std::unique_ptr<TIniFile> ini(OpenIniFile());
        return ini->WriteBool(kSection, kKey, value);
    } catch (...) {
        return false;
    }
}
