#include "platform/win32_test_support.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/codepage.h"

namespace zepo::win32 {
namespace {

// Wine's own export that maps a Windows path to a Linux one; the result is
// allocated on the process heap.
using UnixFileNameFunction = char*(CDECL*)(const WCHAR*);

UnixFileNameFunction unixFileNameFunction() {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<UnixFileNameFunction>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name")));
}

std::wstring wide(const std::string& utf8) {
  std::string bytes = toCodePage(utf8);
  int n = ::MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

// The request of Wine's mount manager that defines or removes a drive, as
// Wine's own include/ddk/mountmgr.h lays it out.
struct UnixDriveRequest {
  ULONG size;
  UINT32 type;
  UINT32 fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(0x6D /* 'm' */, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

}  // namespace

std::optional<std::string> wineUnixPath(const std::string& windowsPath) {
  UnixFileNameFunction function = unixFileNameFunction();
  if (function == nullptr) return std::nullopt;
  char* name = function(wide(windowsPath).c_str());
  if (name == nullptr) return std::nullopt;
  std::string result = name;
  ::HeapFree(::GetProcessHeap(), 0, name);
  return result;
}

std::optional<std::string> wineDosDevices() {
  // Drive C:'s root is dosdevices/c:/ under Wine; Wine shows the Linux root
  // as drive Z:.
  std::optional<std::string> root = wineUnixPath("C:\\");
  if (!root) return std::nullopt;
  std::string path = *root;
  while (!path.empty() && path.back() == '/') path.pop_back();
  std::size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return std::nullopt;
  path = "Z:" + path.substr(0, cut);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

namespace {

bool defineDrive(char letter, const std::string& unixFolder, const std::string& label) {
  HANDLE manager =
      ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  std::wstring wideLabel = wide(label);
  std::vector<char> request(
      sizeof(UnixDriveRequest) + unixFolder.size() + 2 + (wideLabel.size() + 1) * sizeof(WCHAR) + 2,
      '\0');
  UnixDriveRequest header{};
  // A removable drive with a FAT file system: Wine gives a volume label to
  // a drive made on the fly only then.
  header.type = DRIVE_REMOVABLE;
  header.fsType = 1;  // MOUNTMGR_FS_TYPE_FAT
  header.letter = static_cast<WCHAR>(letter);
  std::size_t position = sizeof header;
  if (!unixFolder.empty()) {
    header.mountPointOffset = static_cast<USHORT>(position);
    std::memcpy(request.data() + position, unixFolder.c_str(), unixFolder.size() + 1);
    position += unixFolder.size() + 1;
    if (!label.empty()) {
      position = (position + 1) & ~std::size_t{1};
      header.labelOffset = static_cast<USHORT>(position);
      std::memcpy(request.data() + position, wideLabel.c_str(),
                  (wideLabel.size() + 1) * sizeof(WCHAR));
      position += (wideLabel.size() + 1) * sizeof(WCHAR);
    }
  }
  header.size = static_cast<ULONG>(position);
  std::memcpy(request.data(), &header, sizeof header);
  DWORD returned = 0;
  BOOL done = ::DeviceIoControl(manager, kDefineUnixDrive, request.data(), header.size, nullptr, 0,
                                &returned, nullptr);
  ::CloseHandle(manager);
  return done != FALSE;
}

}  // namespace

bool wineDefineDrive(char letter, const std::string& unixFolder, const std::string& label) {
  if (!defineDrive(letter, unixFolder, label)) return false;
  if (unixFolder.empty() || label.empty()) return true;
  // The mount manager reads a drive's label from the drive when it makes
  // it: the label is set on the new drive, and the drive made again.
  std::string root = std::string(1, letter) + ":\\";
  if (!::SetVolumeLabelA(root.c_str(), toCodePage(label).c_str())) return false;
  return defineDrive(letter, unixFolder, label);
}

namespace {

HKEY rootKey(std::uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<INT_PTR>(static_cast<std::int32_t>(root)));
}

}  // namespace

namespace {

// The key under the installer's 32-bit view; nullptr when it cannot be opened.
HKEY openKey(std::uint32_t root, const std::string& subKey, REGSAM access) {
  HKEY key = nullptr;
  return ::RegOpenKeyExA(rootKey(root), toCodePage(subKey).c_str(), 0, access | KEY_WOW64_32KEY,
                         &key) == ERROR_SUCCESS
             ? key
             : nullptr;
}

}  // namespace

std::optional<std::string> registryString(std::uint32_t root, const std::string& subKey,
                                          const std::string& valueName) {
  HKEY key = openKey(root, subKey, KEY_QUERY_VALUE);
  if (key == nullptr) return std::nullopt;
  std::string name = toCodePage(valueName);
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::string> result;
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::string data(size, '\0');
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                           &size) == ERROR_SUCCESS) {
      data.resize(std::min<std::size_t>(size, data.find('\0')));
      result = data;
    }
  }
  ::RegCloseKey(key);
  return result;
}

bool registryKeyExists(std::uint32_t root, const std::string& subKey) {
  HKEY key = openKey(root, subKey, KEY_QUERY_VALUE);
  if (key != nullptr) ::RegCloseKey(key);
  return key != nullptr;
}

void removeRegistryTree(std::uint32_t root, const std::string& subKey) {
  HKEY key = openKey(root, subKey, KEY_ALL_ACCESS);
  if (key == nullptr) return;
  ::RegDeleteTreeA(key, nullptr);
  ::RegCloseKey(key);
  ::RegDeleteKeyExA(rootKey(root), toCodePage(subKey).c_str(), KEY_WOW64_32KEY, 0);
}

bool addAttributes(const std::string& windowsPath, int bits) {
  std::string name = toCodePage(windowsPath);
  DWORD attributes = ::GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
  return ::SetFileAttributesA(name.c_str(), attributes | static_cast<DWORD>(bits)) != FALSE;
}

bool writeBytes(const std::string& windowsPath, const std::string& bytes) {
  HANDLE file = ::CreateFileA(toCodePage(windowsPath).c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL done = ::SetEndOfFile(file) &&
              (bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                            &written, nullptr));
  ::CloseHandle(file);
  return done && written == bytes.size();
}

std::optional<std::string> readBytes(const std::string& windowsPath) {
  HANDLE file = ::CreateFileA(toCodePage(windowsPath).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  ::CloseHandle(file);
  return bytes;
}

bool makeFolder(const std::string& windowsPath) {
  std::string name = toCodePage(windowsPath);
  if (::CreateDirectoryA(name.c_str(), nullptr)) return true;
  DWORD attributes = ::GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool exists(const std::string& windowsPath) {
  return ::GetFileAttributesA(toCodePage(windowsPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<FolderEntry> folderEntries(const std::string& windowsPath) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((toCodePage(windowsPath) + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back(
        {fromCodePage(name), (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileA(find, &entry));
  ::FindClose(find);
  return entries;
}

void removeEntry(const std::string& windowsPath) {
  std::string name = toCodePage(windowsPath);
  DWORD attributes = ::GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    ::DeleteFileA(name.c_str());
    return;
  }
  for (const FolderEntry& entry : folderEntries(windowsPath)) {
    removeEntry(windowsPath + "\\" + entry.name);
  }
  ::RemoveDirectoryA(name.c_str());
}

}  // namespace zepo::win32
