// An image-library header that names a header nobody has.
#include <cstdint>

#include "Missing.h"
