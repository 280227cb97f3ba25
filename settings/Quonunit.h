// The settings file: "Torvan.ini" beside the host's executable (on POSIX in the user's
// configuration folder when the executable's folder is not for writing), section
// "RTD2120CFG", key "AUTOFIRESECOND".
#ifndef RTD_SETTINGS_QUONUNIT_H
#define RTD_SETTINGS_QUONUNIT_H

#include <string>

// An ini file opened by path; reads and writes go through the platform's profile
// functions. Destruction flushes cached writes.
class TIniFile {
public:
    explicit TIniFile(std::string path) : path_(std::move(path)) {}
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return path_; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback);
    // Integer conversion of the value ("0x" read as "$", decimal, "$"/"x" hexadecimal,
    // sign, leading spaces); anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int fallback);
    bool ReadBool(const std::string& section, const std::string& key, bool fallback);
    // False when the file cannot be written; missing folders on the way are made first.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path_;
};

// Path of the settings file, as the platform places it (Platform::SettingsFilePath).
std::string SettingsFilePath();
// A new ini-file object for the settings file; the caller deletes it.
TIniFile* OpenIniFile();

// The engine object's construction and destruction use these two.
bool LoadAutoFireSecond();
// Never throws and never stops the caller when the file cannot be written; returns false then.
bool SaveAutoFireSecond(bool value);

#endif
