// A C stream closed when it goes out of scope, on every path.
#ifndef RTD_IMAGE_STDFILE_H
#define RTD_IMAGE_STDFILE_H

#include <cstdio>
#include <memory>
#include <string>

namespace rtd::image {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for reading as raw bytes; null when it cannot be opened.
inline UniqueFile OpenForReading(const std::string& path) {
    return UniqueFile(std::fopen(path.c_str(), "rb"));
}

} // namespace rtd::image

#endif
