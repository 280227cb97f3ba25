// Splitting a firmware file's path into folder, name and extension. Backslash and colon
// end a folder on every build; the forward slash does too, so that POSIX paths split the
// same way as Windows ones.
#ifndef RTD_IMAGE_PATHPARTS_H
#define RTD_IMAGE_PATHPARTS_H

#include <string>

namespace rtd::image {

// The text from the last "." of `path` to its end, or "" when a folder separator follows
// that dot (or there is no dot). Keeps its own case.
std::string PathExtension(const std::string& path);

// The path up to and including its last folder separator ("" when it has none).
std::string PathFolder(const std::string& path);

// ASCII lower case; other bytes unchanged.
std::string LowerAscii(std::string text);

} // namespace rtd::image

#endif
