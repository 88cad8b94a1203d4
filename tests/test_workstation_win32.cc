// The test workstation of the Windows build: the system itself, run under
// Wine in a Wine prefix made for the run (scripts/test-windows), with the
// test's drives and shares made on the fly in that prefix. A drive is a
// folder of the workstation that Wine's mount manager maps to the letter; a
// share is a folder of the prefix's dosdevices/unc. Both go when the
// workstation goes, whether its test passed or not, and so do the
// installer's registry keys: the prefix is left as the workstation found it.
#include <windows.h>
#include <winioctl.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "platform/codepage.h"
#include "platform/windows_names.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

// The Wine prefix as a Linux folder; the tests need Wine to make drives and
// shares.
std::string winePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr || *prefix == '\0') {
    throw std::runtime_error("the Windows tests run under Wine with WINEPREFIX set");
  }
  return prefix;
}

// The Windows path of a Linux path: Wine shows the Linux root as drive Z:.
std::string windowsPathOf(std::string unixPath) {
  for (char& c : unixPath) c = c == '/' ? '\\' : c;
  return "Z:" + unixPath;
}

bool makeFolder(const std::string& path) {
  return ::CreateDirectoryA(toCodePage(path).c_str(), nullptr) ||
         ::GetLastError() == ERROR_ALREADY_EXISTS;
}

// Removes a file or a folder with everything in it, whatever its attributes.
void removeEntry(const std::string& path) {
  const std::string name = toCodePage(path);
  const DWORD attributes = ::GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    ::DeleteFileA(name.c_str());
    return;
  }
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((name + "\\*").c_str(), &entry);
  for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &entry)) {
    const std::string child = entry.cFileName;
    if (child != "." && child != "..") removeEntry(path + "\\" + fromCodePage(child));
  }
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  ::RemoveDirectoryA(name.c_str());
}

// Maps drive `letter` to the Linux folder through Wine's mount manager, as
// winecfg does; an empty folder unmaps it. The request is laid out as Wine's
// include/ddk/mountmgr.h has it.
bool defineDrive(char letter, const std::string& unixFolder) {
  struct {
    ULONG size;
    UINT32 type;
    UINT32 fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset, deviceOffset, labelOffset;
    char mountPoint[MAX_PATH];
  } request{};
  if (unixFolder.size() >= sizeof request.mountPoint) return false;
  // A removable drive with a FAT file system: Wine keeps a volume label for
  // a drive made on the fly only then.
  request.type = DRIVE_REMOVABLE;
  request.fsType = 1;
  request.letter = static_cast<WCHAR>(letter);
  request.size = offsetof(decltype(request), mountPoint);
  if (!unixFolder.empty()) {
    request.mountPointOffset = static_cast<USHORT>(request.size);
    std::memcpy(request.mountPoint, unixFolder.c_str(), unixFolder.size() + 1);
    request.size += static_cast<ULONG>(unixFolder.size() + 1);
  }
  HANDLE manager =
      ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  const BOOL done = ::DeviceIoControl(
      manager, CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS), &request,
      request.size, nullptr, 0, &returned, nullptr);
  ::CloseHandle(manager);
  return done != FALSE;
}

// The key of a path that starts with a root's name in full, in the
// installer's 32-bit view; nullptr when it cannot be opened. Names are the
// registry's own bytes, in the code page.
HKEY openKey(const std::string& keyPath, REGSAM access) {
  static const std::pair<const char*, HKEY> kRoots[] = {
      {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {"HKEY_USERS", HKEY_USERS},
      {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}};
  const std::size_t cut = keyPath.find('\\');
  const std::string subKey = cut == std::string::npos ? "" : keyPath.substr(cut + 1);
  for (const auto& [name, root] : kRoots) {
    HKEY key = nullptr;
    if (upperName(keyPath.substr(0, cut)) == name &&
        ::RegOpenKeyExA(root, subKey.c_str(), 0, access | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
      return key;
    }
  }
  return nullptr;
}

// Removes the keys that the installer writes, under both roots it writes.
void removeInstallerKeys() {
  for (const char* path : {"HKEY_CURRENT_USER\\software", "HKEY_USERS\\.default\\software"}) {
    if (HKEY key = openKey(path, KEY_ALL_ACCESS)) {
      ::RegDeleteTreeA(key, "prologue software");
      ::RegCloseKey(key);
    }
  }
}

}  // namespace

TestWorkstation::Folder::Folder() {
  const std::string base = windowsPathOf(winePrefix()) + "\\zepo-test-";
  for (int n = 0; n < 1000 && path.empty(); ++n) {
    const std::string name =
        base + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(n);
    if (::CreateDirectoryA(name.c_str(), nullptr)) path = name;
  }
  if (path.empty()) throw std::runtime_error("no folder for a test workstation could be made");
}

TestWorkstation::Folder::~Folder() {
  removeEntry(path);
}

TestWorkstation::TestWorkstation() : TestWorkstation(Options()) {}

TestWorkstation::TestWorkstation(const Options& options) : options_(options) {
  platform_ = std::make_unique<Win32Platform>();
  removeInstallerKeys();
}

TestWorkstation::~TestWorkstation() {
  platform_.reset();  // closes its files first
  for (const auto& [letter, folder] : drives_) {
    defineDrive(letter, "");
    // The mount manager keeps the drive's type after the drive is gone.
    ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives",
                         (std::string(1, letter) + ":").c_str());
  }
  for (const std::string& share : shares_) {
    removeEntry(share);
    // The server's folder and unc itself, once nothing else is in them.
    const std::string server = share.substr(0, share.rfind('\\'));
    ::RemoveDirectoryA(server.c_str());
    ::RemoveDirectoryA(server.substr(0, server.rfind('\\')).c_str());
  }
  removeInstallerKeys();
}

std::string TestWorkstation::hostPath(const std::string& windowsPath) {
  return windowsPath;
}

void TestWorkstation::reopen() {
  platform_.reset();
  platform_ = std::make_unique<Win32Platform>();
}

void TestWorkstation::addShare(const std::string& server, const std::string& share) {
  std::string folder = windowsPathOf(winePrefix()) + "\\dosdevices\\unc";
  for (const std::string& part : {std::string(), "\\" + server, "\\" + share}) {
    folder += part;
    if (!makeFolder(folder)) throw std::runtime_error("cannot make the share folder " + folder);
  }
  shares_.push_back(folder);
}

void TestWorkstation::addDrive(char letter, const std::string& label) {
  letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  const std::string folder = dir() + "\\drive_" + letter;
  drives_[letter] = folder;  // unmapped when the workstation goes, whatever fails below
  // Its Linux path: the workstation's folder is on drive Z:, the Linux root.
  std::string unixPath = folder.substr(2);
  for (char& c : unixPath) c = c == '\\' ? '/' : c;
  // The mount manager reads a drive's label from the drive when it maps it:
  // the label is set on the new drive, and the drive mapped again.
  const std::string root = std::string(1, letter) + ":\\";
  if (!makeFolder(folder) || !defineDrive(letter, unixPath) ||
      (!label.empty() && (!::SetVolumeLabelA(root.c_str(), toCodePage(label).c_str()) ||
                          !defineDrive(letter, unixPath)))) {
    throw std::runtime_error(std::string("Wine's mount manager did not make drive ") + letter);
  }
}

void TestWorkstation::writeFile(const std::string& windowsPath, const std::string& bytes) {
  // Every folder on the way, after the drive's root or \\server\share.
  std::size_t cut = windowsPath.compare(0, 2, "\\\\") == 0
                        ? windowsPath.find('\\', windowsPath.find('\\', 2) + 1)
                        : 2;
  while (cut != std::string::npos && (cut = windowsPath.find('\\', cut + 1)) != std::string::npos) {
    makeFolder(windowsPath.substr(0, cut));
  }
  // An existing file keeps its attributes (hidden, system), as on Linux.
  HANDLE file = ::CreateFileA(toCodePage(windowsPath).c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool done =
      file != INVALID_HANDLE_VALUE && ::SetEndOfFile(file) &&
      (bytes.empty() || ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr));
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  if (!done || written != bytes.size()) throw std::runtime_error("cannot write " + windowsPath);
}

std::string TestWorkstation::readFile(const std::string& windowsPath) {
  std::ifstream in(toCodePage(windowsPath), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + windowsPath);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TestWorkstation::exists(const std::string& windowsPath) {
  return ::GetFileAttributesA(toCodePage(windowsPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void TestWorkstation::setHidden(const std::string& windowsPath, int dosAttrBits) {
  const std::string name = toCodePage(windowsPath);
  const DWORD attributes = ::GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      !::SetFileAttributesA(name.c_str(),
                            (attributes & ~DWORD(FILE_ATTRIBUTE_NORMAL)) | DWORD(dosAttrBits))) {
    throw std::runtime_error("cannot set the attributes of " + windowsPath);
  }
}

std::optional<std::string> TestWorkstation::registryString(const std::string& keyPath,
                                                           const std::string& valueName) {
  HKEY key = openKey(keyPath, KEY_QUERY_VALUE);
  char data[4096];
  DWORD size = sizeof data;
  const bool found =
      key != nullptr && ::RegGetValueA(key, nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr,
                                       data, &size) == ERROR_SUCCESS;
  if (key != nullptr) ::RegCloseKey(key);
  return found ? std::optional<std::string>(data) : std::nullopt;
}

bool TestWorkstation::registryKeyExists(const std::string& keyPath) {
  HKEY key = openKey(keyPath, KEY_QUERY_VALUE);
  if (key != nullptr) ::RegCloseKey(key);
  return key != nullptr;
}

}  // namespace zepo
