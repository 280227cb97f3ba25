// Paths of the build tree as the running test opens them. CMake hands them over as the
// build machine writes them; a Windows test under wine opens them through drive Z:.
#ifndef RTD_TESTS_SUPPORT_BUILDPATH_H
#define RTD_TESTS_SUPPORT_BUILDPATH_H

#include <string>

namespace rtd::test {

std::string NativeBuildPath(const std::string& path);

} // namespace rtd::test

#endif
