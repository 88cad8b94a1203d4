// The hidden and system attributes of the emulated workstation's files: the
// extended attribute user.DOSATTRIB, whose value starts with the attribute
// bits as hexadecimal text ("0x2" hidden, "0x6" hidden and system), as Linux
// file servers and compatibility layers keep them.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace zepo {

// The hidden (2) and system (4) bits of the Linux file or folder `host`;
// 0 when it has no such attribute or its file system keeps none.
int readDosAttributes(const std::string& host);

// The same for the entry `name` of the open folder `folder`, whose Linux
// path is `host`: cheaper where the kernel takes the folder's descriptor
// (Linux 6.13 and later), by the path elsewhere.
int readDosAttributesAt(int folder, const char* name, const std::string& host);

// The whole value of user.DOSATTRIB of the open file `fd`, whatever its
// length; nullopt when it has none.
std::optional<std::string> readDosAttributeValue(int fd);

// Sets user.DOSATTRIB of `host` to `bits` ("0x2" for 2); false when the
// file system keeps no extended attributes.
bool writeDosAttributes(const std::string& host, int bits);

// The hidden and system bits of files whose status is at hand, kept per
// file. Setting or removing an extended attribute changes the file's change
// time, so they are read again only when that time has moved; bits read so
// soon after the last change that a further change in the same clock tick
// would not move it are not kept.
class DosAttributeCache {
 public:
  // The bits of `host`, whose status (symbolic links followed) is `st`.
  int bits(const std::string& host, const struct stat& st);

 private:
  struct Key {
    std::uint64_t device, inode;
    bool operator==(const Key& o) const { return device == o.device && inode == o.inode; }
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return k.inode * 0x9E3779B97F4A7C15ULL ^ k.device;
    }
  };
  struct Entry {
    std::int64_t changedSec, changedNsec;
    int bits;
  };
  std::unordered_map<Key, Entry, KeyHash> entries_;
};

}  // namespace zepo
