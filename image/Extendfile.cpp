#include "Extendfile.h"

#include "PathParts.h"

namespace rtd::image {

std::string ExtendBaseName(const std::string& mainPath) {
    const std::string name = mainPath.substr(PathFolder(mainPath).size());
    const std::string extension = PathExtension(mainPath);
    // An empty extension is found at 0, which gives the empty base it should.
    const std::string::size_type at = name.find(extension);
    return name.substr(0, at == std::string::npos ? 0 : at);
}

bool FindExtendFile(const std::string& mainPath, std::string& extendPath,
                    const FileExists& exists) {
    const std::string folder = PathFolder(mainPath);
    const std::string base = ExtendBaseName(mainPath);
    for (const char* pattern : kExtendNames) {
        std::string candidate = folder;
        candidate += pattern[0] == '*' ? base + (pattern + 1) : std::string(pattern);
        if (exists(candidate)) {
            extendPath = candidate;
            return true;
        }
    }
    return false;
}

} // namespace rtd::image
