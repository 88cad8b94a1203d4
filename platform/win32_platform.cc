// The Windows functions of the Windows platform, system information and
// application data. Each method calls the Windows function of its name (the
// real one, with the :: prefix), converting text to and from Windows-1252.
#include "platform/win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_replacement.h"
#include "platform/windows_names.h"

namespace zepo {
namespace {

// The predefined keys as the installer names them: the 32-bit constants,
// which a 64-bit program sees sign-extended.
bool isPredefinedKey(RegKey key) {
  return key >= kHkeyClassesRoot && key <= kHkeyDynData;
}

HKEY predefinedKey(RegKey key) {
  return reinterpret_cast<HKEY>(static_cast<INT_PTR>(static_cast<std::int32_t>(key)));
}

// The key under which a sub key is created or opened: a predefined key or
// one this program opened; nullptr for any other handle.
HKEY baseKey(RegKey root, const std::map<RegKey, void*>& openKeys) {
  if (isPredefinedKey(root)) return predefinedKey(root);
  auto it = openKeys.find(root);
  return it == openKeys.end() ? nullptr : static_cast<HKEY>(it->second);
}

// The installer is a 32-bit program: on 64-bit Windows it sees, and the
// database client reads, the 32-bit view of the registry.
constexpr REGSAM kRegistryView = KEY_WOW64_32KEY;

}  // namespace

// ---- INI files, Windows folder, fonts -------------------------------------

std::uint32_t Win32Platform::GetPrivateProfileStringA(const std::string& section,
                                                      const std::string& key,
                                                      const std::string& defaultValue,
                                                      std::string& buffer, std::uint32_t size,
                                                      const std::string& fileName) {
  if (size == 0) return 0;
  std::vector<char> bytes(size + 1, '\0');
  DWORD count = ::GetPrivateProfileStringA(toCodePage(section).c_str(), toCodePage(key).c_str(),
                                           toCodePage(defaultValue).c_str(), bytes.data(), size,
                                           toCodePage(fileName).c_str());
  count = std::min<DWORD>(count, size - 1);
  return placeInBuffer(buffer, size, fromCodePage(std::string(bytes.data(), count)));
}

bool Win32Platform::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                               const std::optional<std::string>& value,
                                               const std::string& fileName) {
  const std::string text = value ? toCodePage(*value) : std::string();
  auto writeTo = [&](const std::string& file) {
    return ::WritePrivateProfileStringA(toCodePage(section).c_str(), toCodePage(key).c_str(),
                                        value ? text.c_str() : nullptr, file.c_str()) != FALSE;
  };
  // A new file, one in the Windows folder named without a path, or one
  // that cannot be written (read-only) is the function's own business.
  const std::string file = toCodePage(fileName);
  DWORD attributes = ::GetFileAttributesA(file.c_str());
  if (file.find_first_of("\\/") == std::string::npos || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return writeTo(file);
  }
  // The function rewrites the file in place: it edits a copy beside it
  // instead, which then replaces the file whole.
  FileReplacement replacement;
  if (!replacement.begin(file) || !replacement.close() ||
      !::CopyFileA(file.c_str(), replacement.newFile().c_str(), FALSE) ||
      !::SetFileAttributesA(replacement.newFile().c_str(), FILE_ATTRIBUTE_NORMAL) ||
      !writeTo(replacement.newFile())) {
    return false;
  }
  return replacement.commit();
}

std::uint32_t Win32Platform::GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) {
  std::vector<char> bytes(std::max<std::uint32_t>(size, 1) + 1, '\0');
  UINT length = ::GetWindowsDirectoryA(bytes.data(), size);
  // Too small a buffer stays untouched; the answer is the size it needs.
  if (length == 0 || length >= size) return length;
  return placeInBuffer(buffer, size, fromCodePage(std::string(bytes.data(), length)));
}

int Win32Platform::AddFontResourceA(const std::string& fileName) {
  return ::AddFontResourceA(toCodePage(fileName).c_str());
}

// ---- processes ------------------------------------------------------------

bool Win32Platform::CreateProcessA(const std::string& commandLine, bool inheritHandles,
                                   std::uint32_t creationFlags, const StartupInfo& startupInfo,
                                   ProcessInformation& processInformation) {
  // Only the size is set, as the installer fills the record: 68 is the size
  // of the 32-bit STARTUPINFO, which Windows accepts from a 64-bit program
  // too; every other field stays zero.
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = startupInfo.cb;
  PROCESS_INFORMATION pi;
  ZeroMemory(&pi, sizeof pi);
  // CreateProcessA may write into the command line: it gets a copy.
  std::string line = toCodePage(commandLine);
  std::vector<char> writable(line.begin(), line.end());
  writable.push_back('\0');
  BOOL started =
      ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, inheritHandles ? TRUE : FALSE,
                       creationFlags, nullptr, nullptr, &si, &pi);
  if (!started) {
    processInformation = {};
    return false;
  }
  processInformation.hProcess = reinterpret_cast<std::uintptr_t>(pi.hProcess);
  processInformation.hThread = reinterpret_cast<std::uintptr_t>(pi.hThread);
  processInformation.dwProcessId = pi.dwProcessId;
  processInformation.dwThreadId = pi.dwThreadId;
  return true;
}

std::uint32_t Win32Platform::WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)),
                               milliseconds);
}

bool Win32Platform::GetExitCodeProcess(ProcessHandle handle, std::int32_t& exitCode) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)), &code)) {
    return false;
  }
  exitCode = static_cast<std::int32_t>(code);
  return true;
}

bool Win32Platform::CloseHandle(ProcessHandle handle) {
  if (handle == 0) return false;  // no handle at all: nothing for Windows to close
  return ::CloseHandle(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle))) != FALSE;
}

// ---- registry -------------------------------------------------------------

std::int32_t Win32Platform::RegCreateKeyExA(RegKey root, const std::string& subKey,
                                            std::uint32_t options, std::uint32_t access,
                                            RegKey& result, std::uint32_t& disposition) {
  result = 0;
  HKEY base = baseKey(root, openKeys_);
  if (base == nullptr) return ERROR_INVALID_HANDLE;  // no key of this program, nor a predefined one
  HKEY key = nullptr;
  DWORD created = 0;
  LONG error = ::RegCreateKeyExA(base, toCodePage(subKey).c_str(), 0, nullptr, options,
                                 access | kRegistryView, nullptr, &key, &created);
  if (error != ERROR_SUCCESS) return error;
  result = nextKey_++;
  openKeys_[result] = key;
  disposition = created;
  return ERROR_SUCCESS;
}

std::int32_t Win32Platform::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                          std::uint32_t access, RegKey& result) {
  result = 0;
  HKEY base = baseKey(root, openKeys_);
  if (base == nullptr) return ERROR_INVALID_HANDLE;  // no key of this program, nor a predefined one
  HKEY key = nullptr;
  LONG error = ::RegOpenKeyExA(base, toCodePage(subKey).c_str(), 0, access | kRegistryView, &key);
  if (error != ERROR_SUCCESS) return error;
  result = nextKey_++;
  openKeys_[result] = key;
  return ERROR_SUCCESS;
}

std::int32_t Win32Platform::RegSetValueExA(RegKey key, const std::string& valueName,
                                           std::uint32_t type, const std::string& data,
                                           std::uint32_t dataSize) {
  HKEY handle;
  if (isPredefinedKey(key)) {
    handle = predefinedKey(key);
  } else if (auto it = openKeys_.find(key); it != openKeys_.end()) {
    handle = static_cast<HKEY>(it->second);
  } else {
    return ERROR_INVALID_HANDLE;
  }
  // The bytes given, padded with zero bytes up to the size the caller names.
  std::string bytes = data;
  if (bytes.size() < dataSize) bytes.resize(dataSize, '\0');
  return ::RegSetValueExA(handle, toCodePage(valueName).c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.data()), dataSize);
}

std::int32_t Win32Platform::RegDeleteValueA(RegKey key, const std::string& valueName) {
  HKEY handle;
  if (isPredefinedKey(key)) {
    handle = predefinedKey(key);
  } else if (auto it = openKeys_.find(key); it != openKeys_.end()) {
    handle = static_cast<HKEY>(it->second);
  } else {
    return ERROR_INVALID_HANDLE;
  }
  return ::RegDeleteValueA(handle, toCodePage(valueName).c_str());
}

std::int32_t Win32Platform::RegCloseKey(RegKey key) {
  if (isPredefinedKey(key)) return ::RegCloseKey(predefinedKey(key));
  auto it = openKeys_.find(key);
  if (it == openKeys_.end()) return ERROR_INVALID_HANDLE;
  LONG error = ::RegCloseKey(static_cast<HKEY>(it->second));
  openKeys_.erase(it);
  return error;
}

// ---- system information and application data -------------------------------

namespace {

OSVERSIONINFOA versionInfo() {
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  ::GetVersionExA(&info);
  return info;
}

}  // namespace

int Win32Platform::osPlatform() {
  return static_cast<int>(versionInfo().dwPlatformId);
}

float Win32Platform::osVersion() {
  OSVERSIONINFOA info = versionInfo();
  return static_cast<float>(info.dwMajorVersion) + static_cast<float>(info.dwMinorVersion) / 10.0f;
}

std::vector<DriveInfo> Win32Platform::drives() {
  std::vector<DriveInfo> result;
  char roots[26 * 4 + 1] = {};
  DWORD length = ::GetLogicalDriveStringsA(sizeof roots - 1, roots);
  if (length == 0 || length >= sizeof roots) return result;
  // No "insert a disk" box for an empty floppy or card drive.
  UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
  for (const char* root = roots; *root != '\0'; root += std::char_traits<char>::length(root) + 1) {
    if (!std::isalpha(static_cast<unsigned char>(root[0]))) continue;
    // A drive whose root has gone since Windows counted it is no drive.
    if (::GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR) continue;
    DriveInfo drive;
    drive.letter = static_cast<char>(std::tolower(static_cast<unsigned char>(root[0])));
    char label[MAX_PATH + 1] = {};
    if (::GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0)) {
      drive.label = fromCodePage(label);
    }
    result.push_back(drive);
  }
  ::SetErrorMode(oldMode);
  std::sort(result.begin(), result.end(),
            [](const DriveInfo& a, const DriveInfo& b) { return a.letter < b.letter; });
  return result;
}

std::string Win32Platform::appPath() {
  std::vector<char> name(MAX_PATH);
  for (;;) {
    DWORD length = ::GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return "";
    if (length < name.size()) {
      return fromCodePage(moduleFolder(std::string(name.data(), length)));
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace zepo
