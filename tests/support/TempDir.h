// A fresh folder under the system's temporary folder, removed with everything in it at
// the end, and small helpers to put files there and read them back.
#ifndef RTD_TESTS_SUPPORT_TEMPDIR_H
#define RTD_TESTS_SUPPORT_TEMPDIR_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rtd::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Full path of `name` inside the folder, with the platform's separator.
    std::string Path(const std::string& name) const;
    std::string Write(const std::string& name, const std::string& text) const;
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string MakeFolder(const std::string& name) const;
    bool Has(const std::string& name) const;
    // The file's bytes as text ("" when it cannot be read).
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path root_;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);

} // namespace rtd::test

#endif
