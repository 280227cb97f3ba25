// Loading and saving the model's flash: one file, bank 0 then bank 1.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ChipModel.h"
#include "ChipState.h"

namespace rtd::sim {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool Fail(std::string* error, const std::string& reason) {
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool ChipModel::LoadFlash(const std::string& path, std::string* error) {
    errno = 0;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (errno == ENOENT) { // no file yet: the chip is blank
            for (auto& bank : state_->flash)
                std::fill(bank.begin(), bank.end(), kErased);
            return true;
        }
        return Fail(error, path + ": cannot open: " + std::strerror(errno));
    }
    // Read one byte past the expected size so that a longer file shows as such.
    std::vector<uint8_t> bytes(kFlashFileSize + 1);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()))
        return Fail(error, path + ": read error");
    if (got != static_cast<size_t>(kFlashFileSize))
        return Fail(error, path + ": a flash file holds exactly " + std::to_string(kFlashFileSize) +
                               " bytes, this one " +
                               (got > static_cast<size_t>(kFlashFileSize) ? std::string("more")
                                                                          : std::to_string(got)));
    std::copy(bytes.begin(), bytes.begin() + kBankSize, state_->flash[0].begin());
    std::copy(bytes.begin() + kBankSize, bytes.begin() + kFlashFileSize, state_->flash[1].begin());
    return true;
}

bool ChipModel::SaveFlash(const std::string& path, std::string* error) const {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return Fail(error, path + ": cannot create: " + std::strerror(errno));
    for (const auto& bank : state_->flash)
        if (std::fwrite(bank.data(), 1, bank.size(), file.get()) != bank.size())
            return Fail(error, path + ": write error");
    if (std::fclose(file.release()) != 0)
        return Fail(error, path + ": write error");
    return true;
}

} // namespace rtd::sim
