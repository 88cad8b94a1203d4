// What the file attributes allow, the same on every platform: the OS files
// supply the bits, this says what Windows does with them.
#pragma once

#include "platform/errors.h"
#include "platform/platform.h"

namespace zepo {

// Checks that an existing file whose attribute bits are `attributes` may be
// replaced, by a copy onto it or by opening it for output. Windows replaces
// a read-only, hidden or system file only when the caller repeats those
// attributes, which the installer never does; a folder is no file to
// replace. Raises 75 otherwise, before anything is touched, so the file
// stays as it was. (A rename is not a replacement: read-only guards the
// contents, not the name, and only an existing destination stops it.)
inline void checkReplaceable(int attributes) {
  if (attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory)) {
    throw RuntimeError(kErrPathFileAccess);
  }
}

}  // namespace zepo
