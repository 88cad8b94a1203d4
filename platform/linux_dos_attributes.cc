#include "platform/linux_dos_attributes.h"

#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace zepo {

namespace {

constexpr const char* kName = "user.DOSATTRIB";

#ifndef SYS_getxattrat
#define SYS_getxattrat 464  // the same number on every architecture
#endif

// The kernel's struct xattr_args.
struct XattrArgs {
  std::uint64_t value;
  std::uint32_t size;
  std::uint32_t flags;
};

// Cleared when the kernel turns out not to know getxattrat.
std::atomic<bool> haveGetxattrat{true};

// The bits in the attribute's value, `n` bytes read into `value` (room
// for one more) or a failure.
int bitsOf(char* value, ssize_t n) {
  // Newer servers follow the text with a NUL and a binary record.
  if (n <= 2 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
  value[n] = '\0';
  unsigned long bits = std::strtoul(value + 2, nullptr, 16);
  return static_cast<int>(bits & (kAttrHidden | kAttrSystem));
}

// The whole value of the attribute through `get`, a getxattr call that
// takes a buffer and its size; nullopt when there is none. The binary
// record that newer servers add makes values of any length: when the
// buffer is too small, ask for the size and read again (the value may
// have grown meanwhile).
template <typename Get>
std::optional<std::string> wholeValue(Get get) {
  std::string value(64, '\0');
  for (;;) {
    ssize_t n = get(value.data(), value.size() - 1);  // room for a closing NUL
    if (n >= 0) {
      value.resize(static_cast<std::size_t>(n));
      return value;
    }
    if (errno != ERANGE) return std::nullopt;
    n = get(nullptr, 0);
    if (n < 0) return std::nullopt;
    value.resize(static_cast<std::size_t>(n) + 2);
  }
}

}  // namespace

int readDosAttributes(const std::string& host) {
  std::optional<std::string> value = wholeValue(
      [&](char* buffer, std::size_t size) { return getxattr(host.c_str(), kName, buffer, size); });
  return value ? bitsOf(value->data(), static_cast<ssize_t>(value->size())) : 0;
}

std::optional<std::string> readDosAttributeValue(int fd) {
  return wholeValue(
      [&](char* buffer, std::size_t size) { return fgetxattr(fd, kName, buffer, size); });
}

int readDosAttributesAt(int folder, const char* name, const std::string& host) {
  if (haveGetxattrat.load(std::memory_order_relaxed)) {
    char value[64];
    XattrArgs args{reinterpret_cast<std::uintptr_t>(value), sizeof value - 1, 0};
    long n = syscall(SYS_getxattrat, folder, name, 0, kName, &args, sizeof args);
    if (n >= 0 || errno == ENODATA) return bitsOf(value, static_cast<ssize_t>(n));
    // An older kernel, or a filter that forbids the call: by the path from
    // now on. Any other failure is left to the path's answer too.
    if (errno == ENOSYS || errno == EPERM) {
      haveGetxattrat.store(false, std::memory_order_relaxed);
    }
  }
  return readDosAttributes(host);
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
