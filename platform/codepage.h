// Temporary declarations of the code-page conversions, so that the platform
// code builds on this branch; the real module replaces this file.
#pragma once

#include <string>

namespace zepo {

// UTF-8 text as Windows-1252 bytes; characters outside the code page become '?'.
std::string toCodePage(const std::string& utf8);
// Windows-1252 bytes as UTF-8 text.
std::string fromCodePage(const std::string& bytes);

}  // namespace zepo
