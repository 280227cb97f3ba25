#include "FileCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include "FirmwarePlan.h"
#include "ImageCheck.h"
#include "Kvfunit.h"

namespace rtd::host {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Past every limit a check looks at: a larger file is refused on its size alone.
constexpr size_t kReadLimit = static_cast<size_t>(image::kKvfMaxFileSize) + 1;

// The file's bytes up to kReadLimit, or the system's reason it cannot be read.
bool ReadUpToLimit(const std::string& path, std::vector<uint8_t>* bytes, std::string* problem) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        *problem = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        *problem = path + " is a folder, not a firmware file";
        return false;
    }
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        *problem = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    constexpr size_t kChunk = 64 * 1024;
    while (bytes->size() < kReadLimit) {
        const size_t have = bytes->size();
        bytes->resize(have + kChunk);
        const size_t got = std::fread(bytes->data() + have, 1, kChunk, file.get());
        bytes->resize(have + got);
        if (got < kChunk)
            break;
    }
    if (std::ferror(file.get())) {
        *problem = "cannot read " + path + ": " + std::strerror(errno ? errno : EIO);
        return false;
    }
    return true;
}

} // namespace

namespace {

// The problem and whether it is in the file's content (else the file cannot be read).
std::string Problem(const std::string& path, bool* inContent) {
    std::vector<uint8_t> bytes;
    std::string problem;
    *inContent = false;
    if (!ReadUpToLimit(path, &bytes, &problem))
        return problem;
    const image::ImageCheck check =
        image::CheckImageBytes(image::FlowForPath(path), bytes.data(), bytes.size());
    *inContent = !check.Passed();
    return check.Passed() ? "" : path + ": " + check.refusal;
}

} // namespace

std::string FirmwareFileProblem(const std::string& path) {
    bool inContent;
    return Problem(path, &inContent);
}

std::string CheckFirmwareFile(const std::string& path) {
    bool inContent;
    const std::string problem = Problem(path, &inContent);
    if (problem.empty())
        return "";
    return problem + (inContent ? "; nothing was sent: use the complete firmware file, or --force "
                                  "to write it as it is"
                                : "; nothing was sent: check the file's path");
}

} // namespace rtd::host
