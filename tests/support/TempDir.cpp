#include "TempDir.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace rtd::test {

TempDir::TempDir() {
    static std::atomic<int> serial{0};
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        root_ = base / ("rtd-test-" + std::to_string(seed()) + "-" + std::to_string(++serial));
        if (std::filesystem::create_directory(root_))
            return;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempDir::Path(const std::string& name) const {
    return (root_ / name).string();
}

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    return Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string TempDir::MakeFolder(const std::string& name) const {
    std::filesystem::create_directories(root_ / name);
    return Path(name);
}

bool TempDir::Has(const std::string& name) const {
    return std::filesystem::exists(root_ / name);
}

std::string TempDir::Read(const std::string& name) const {
    return ReadFileText(Path(name));
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    const std::string text = ReadFileText(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace rtd::test
