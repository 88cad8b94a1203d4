#include "platform/linux_dos_attributes.h"

#include <sys/xattr.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace zepo {

namespace {
constexpr const char* kName = "user.DOSATTRIB";
}

int readDosAttributes(const std::string& host) {
  char value[64];
  ssize_t n = getxattr(host.c_str(), kName, value, sizeof value - 1);
  // Newer servers follow the text with a NUL and a binary record.
  if (n <= 2 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
  value[n] = '\0';
  unsigned long bits = std::strtoul(value + 2, nullptr, 16);
  return static_cast<int>(bits & (kAttrHidden | kAttrSystem));
}

bool writeDosAttributes(const std::string& host, int bits) {
  char value[16];
  int n = std::snprintf(value, sizeof value, "0x%x", static_cast<unsigned>(bits));
  return setxattr(host.c_str(), kName, value, static_cast<std::size_t>(n), 0) == 0;
}

}  // namespace zepo
