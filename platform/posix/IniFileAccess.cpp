// Reading and writing ini files on disk; the text rules are in IniFile.cpp.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "posix/IniFile.h"

namespace rtd::posix {
namespace {

bool ReadWholeFile(const std::string& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    text = buffer.str();
    return true;
}

// The file a write must change: the target of a symbolic link, so the link survives.
std::string WriteTarget(const std::string& file) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (lstat(file.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        realpath(file.c_str(), resolved))
        return resolved;
    return file;
}

bool WriteAll(int descriptor, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(descriptor, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

} // namespace

std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback) {
    std::string text;
    if (!ReadWholeFile(file, text))
        return fallback;
    return ReadIniText(text, section, key, fallback);
}

bool WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    if (!IsStorableIniEntry(section, key, value))
        return false;
    const std::string target = WriteTarget(file);

    std::string text;
    struct stat info {};
    const bool exists = stat(target.c_str(), &info) == 0;
    if (exists) {
        // Never replace what we could not read (its other lines would be lost), a folder,
        // or a read-only file: one without any write permission, even for the superuser.
        const bool readOnly = (info.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0;
        if (!S_ISREG(info.st_mode) || readOnly || !ReadWholeFile(target, text))
            return false;
    } else if (errno != ENOENT) {
        return false;
    }

    const std::string updated = WriteIniText(text, section, key, value);
    if (!exists) {
        // A new file gets the usual permissions; a failed write removes it again.
        const int descriptor = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (descriptor < 0)
            return false;
        const bool ok = WriteAll(descriptor, updated);
        if (close(descriptor) == 0 && ok)
            return true;
        std::remove(target.c_str());
        return false;
    }

    // Write a temporary file beside the target, with the target's permissions, and rename
    // it over the target, so a failed write never leaves the settings half written.
    std::string temporary = target + ".XXXXXX";
    const int descriptor = mkstemp(&temporary[0]);
    if (descriptor < 0)
        return false;
    bool ok = WriteAll(descriptor, updated) && fchmod(descriptor, info.st_mode & 07777) == 0;
    ok = close(descriptor) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace rtd::posix
