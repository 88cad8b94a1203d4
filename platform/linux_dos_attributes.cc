#include "platform/linux_dos_attributes.h"

#include <sys/xattr.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

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

int DosAttributeCache::bits(const std::string& host, const struct stat& st) {
  Key key{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
  auto it = entries_.find(key);
  if (it != entries_.end() && it->second.changedSec == st.st_ctim.tv_sec &&
      it->second.changedNsec == st.st_ctim.tv_nsec) {
    return it->second.bits;
  }
  std::timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  int bits = readDosAttributes(host);
  // File systems that keep whole seconds (FAT keeps two) get a wide window.
  std::int64_t window = st.st_ctim.tv_nsec == 0 ? 2'000'000'000 : 20'000'000;
  std::int64_t changed = st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec;
  std::int64_t read = now.tv_sec * 1'000'000'000LL + now.tv_nsec;
  if (changed + window > read) {
    if (it != entries_.end()) entries_.erase(it);
    return bits;
  }
  if (it == entries_.end()) {
    if (entries_.size() >= 200'000) entries_.clear();
    it = entries_.emplace(key, Entry{}).first;
  }
  it->second = {st.st_ctim.tv_sec, st.st_ctim.tv_nsec, bits};
  return bits;
}

}  // namespace zepo
