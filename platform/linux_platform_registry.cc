// The registry functions of the Linux platform, on the prefix's registry
// store. Sub keys and value names arrive as UTF-8 and are kept as
// Windows-1252 bytes; value data arrives as bytes already.
#include <algorithm>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/linux_platform.h"
#include "platform/registry_store.h"

namespace zepo {
namespace {

constexpr std::int32_t kErrorInvalidParameter = 87;
constexpr std::int32_t kErrorBadPathname = 161;
constexpr std::int32_t kErrorBadDb = 1009;  // ERROR_BADDB: the registry cannot be read
constexpr std::int32_t kErrorRegistryIoFailed = 1016;
constexpr std::uint32_t kRegCreatedNewKey = 1;
constexpr std::uint32_t kRegOpenedExistingKey = 2;
// Access masks that include the right to set and delete values.
constexpr std::uint32_t kSetValueRights = kKeySetValue | 0x40000000 /* GENERIC_WRITE */ |
                                          0x10000000 /* GENERIC_ALL */ |
                                          0x02000000 /* MAXIMUM_ALLOWED */;

// The predefined keys that hold keys and values. HKEY_PERFORMANCE_DATA and
// HKEY_DYN_DATA are no such keys on the NT family, and kInvalidRootKey is
// no key at all: their handles are invalid here.
std::optional<std::string> rootName(RegKey key) {
  if (const char* name = predefinedKeyName(key)) return name;
  return std::nullopt;
}

// The full path of the key that a handle stands for: a predefined key or a
// key opened before.
std::optional<std::string> keyOfHandle(const std::map<RegKey, std::string>& openKeys, RegKey key) {
  if (auto root = rootName(key)) return root;
  auto it = openKeys.find(key);
  if (it == openKeys.end()) return std::nullopt;
  return it->second;
}

std::int32_t errorOf(RegistryStore::Result result) {
  switch (result) {
    case RegistryStore::Result::kDone:
      return kErrorSuccess;
    case RegistryStore::Result::kNotFound:
      return kErrorFileNotFound;
    case RegistryStore::Result::kNotSaved:
      return kErrorRegistryIoFailed;
    case RegistryStore::Result::kReadOnly:
      // A hive that cannot be written refuses changes as a key without the
      // right to change it does.
      return kErrorAccessDenied;
  }
  return kErrorRegistryIoFailed;
}

}  // namespace

std::int32_t LinuxPlatform::RegCreateKeyExA(RegKey root, const std::string& subKey,
                                            std::uint32_t /*options*/, std::uint32_t access,
                                            RegKey& result, std::uint32_t& disposition) {
  result = 0;
  std::optional<std::string> base = keyOfHandle(openKeys_, root);
  if (!base) return kErrorInvalidHandle;
  const std::string sub = toCodePage(subKey);
  if (sub.starts_with('\\')) return kErrorBadPathname;
  RegistryStore* registry = this->registry();
  if (!registry) return kErrorBadDb;
  const std::string path = *base + "\\" + sub;
  bool created = false;
  if (std::int32_t error = errorOf(registry->createKey(path, &created))) return error;
  std::optional<std::string> stored = registry->keyPath(path);
  if (!stored) return kErrorRegistryIoFailed;  // gone from the file at once
  result = nextKey_++;
  openKeys_[result] = *stored;
  openKeyAccess_[result] = access;
  disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
  return kErrorSuccess;
}

std::int32_t LinuxPlatform::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                          std::uint32_t access, RegKey& result) {
  result = 0;
  std::optional<std::string> base = keyOfHandle(openKeys_, root);
  if (!base) return kErrorInvalidHandle;
  const std::string sub = toCodePage(subKey);
  if (sub.starts_with('\\')) return kErrorBadPathname;
  RegistryStore* registry = this->registry();
  if (!registry) return kErrorBadDb;
  std::optional<std::string> path = registry->keyPath(*base + "\\" + sub);
  if (!path) return kErrorFileNotFound;
  result = nextKey_++;
  openKeys_[result] = *path;
  openKeyAccess_[result] = access;
  return kErrorSuccess;
}

std::int32_t LinuxPlatform::RegSetValueExA(RegKey key, const std::string& valueName,
                                           std::uint32_t type, const std::string& data,
                                           std::uint32_t dataSize) {
  std::optional<std::string> path = keyOfHandle(openKeys_, key);
  if (!path) return kErrorInvalidHandle;
  if (openKeys_.count(key) && !(openKeyAccess_[key] & kSetValueRights)) {
    return kErrorAccessDenied;
  }
  // The store keeps string values only: the installer writes nothing else.
  if (type != kRegSz) return kErrorInvalidParameter;
  std::string text = data.substr(0, std::min<std::size_t>(dataSize, data.size()));
  text.resize(std::min(text.size(), text.find('\0')));
  RegistryStore* registry = this->registry();
  if (!registry) return kErrorBadDb;
  return errorOf(registry->setString(*path, toCodePage(valueName), text));
}

std::int32_t LinuxPlatform::RegDeleteValueA(RegKey key, const std::string& valueName) {
  std::optional<std::string> path = keyOfHandle(openKeys_, key);
  if (!path) return kErrorInvalidHandle;
  if (openKeys_.count(key) && !(openKeyAccess_[key] & kSetValueRights)) {
    return kErrorAccessDenied;
  }
  RegistryStore* registry = this->registry();
  if (!registry) return kErrorBadDb;
  return errorOf(registry->deleteValue(*path, toCodePage(valueName)));
}

std::int32_t LinuxPlatform::RegCloseKey(RegKey key) {
  // Closing a predefined key is allowed and does nothing.
  if (rootName(key)) return kErrorSuccess;
  if (openKeys_.erase(key) == 0) return kErrorInvalidHandle;
  openKeyAccess_.erase(key);
  return kErrorSuccess;
}

}  // namespace zepo
