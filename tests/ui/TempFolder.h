// A fresh folder under the system's temporary folder, removed with everything in it.
#ifndef RTD_TESTS_UI_TEMPFOLDER_H
#define RTD_TESTS_UI_TEMPFOLDER_H

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace rtd::test {

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("rtd-ui-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Native spelling of the folder followed by a separator, ready for a file name.
    std::string Prefix() const { return (path_ / "").string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Has(const std::string& name) const { return std::filesystem::exists(path_ / name); }

private:
    std::filesystem::path path_;
};

} // namespace rtd::test

#endif
