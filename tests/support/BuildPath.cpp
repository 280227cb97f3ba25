#include "BuildPath.h"

namespace rtd::test {

std::string NativeBuildPath(const std::string& path) {
#if defined(_WIN32)
    std::string p = path.size() > 1 && path[0] == '/' ? "Z:" + path : path;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
#else
    return path;
#endif
}

} // namespace rtd::test
