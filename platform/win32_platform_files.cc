// Listing, file and folder operations, text and binary files of the Windows
// platform, with the forms runtime's error numbers.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_replacement.h"
#include "platform/win32_platform.h"
#include "platform/windows_names.h"

namespace zepo {

Win32Platform::Win32Platform() = default;
Win32Platform::~Win32Platform() {
  for (auto& [number, key] : openKeys_) ::RegCloseKey(static_cast<HKEY>(key));
}

namespace {

// The runtime error number of a failed Windows call. `missing` is what a
// missing file means where it happened: 53 for the file itself, 76 where
// only a folder on the way can be missing.
[[noreturn]] void fail(DWORD error, int missing = kErrFileNotFound) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      throw RuntimeError(missing);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_CANT_RESOLVE_FILENAME:
      throw RuntimeError(kErrPathNotFound);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      throw RuntimeError(kErrDiskFull);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
      throw RuntimeError(kErrPermissionDenied);
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
      throw RuntimeError(kErrFileAlreadyExists);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER:
      throw RuntimeError(kErrBadFileNameOrNumber);
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_SEM_TIMEOUT:
      throw RuntimeError(kErrDeviceUnavailable);
    default:  // ERROR_ACCESS_DENIED (read-only, a folder for a file...) and the rest
      throw RuntimeError(kErrPathFileAccess);
  }
}

[[noreturn]] void failLast(int missing = kErrFileNotFound) {
  fail(::GetLastError(), missing);
}

// The attributes of an existing entry, or nullopt when there is none; a
// path through a missing folder or an unknown drive raises 76 and a bad
// name 52, as every file operation does.
std::optional<DWORD> attributesOf(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(toCodePage(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return attributes;
  DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
  fail(error);
}

// The listing's attribute bits of Windows' attributes: read-only, hidden,
// system and folder have the same values.
int attributeBits(DWORD attributes) {
  return static_cast<int>(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
}

// A drive root ("d:\", "\\SRV\share\") has no attributes of its own.
bool isRootPath(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '/', '\\');
  while (p.size() > 1 && p.back() == '\\') p.pop_back();
  if (p.size() == 2 && p[1] == ':') return true;
  if (p.rfind("\\\\", 0) == 0) {
    std::size_t server = p.find('\\', 2);
    return server != std::string::npos && p.find('\\', server + 1) == std::string::npos;
  }
  return false;
}

// Whether a folder path holds a component with a character that Windows
// forbids; the drive ("c:") and the "\\\\" of a UNC path are no components.
bool hasBadFolderName(const std::string& folder) {
  std::size_t start = 0;
  if (folder.size() >= 2 && folder[1] == ':') start = 2;
  while (start <= folder.size()) {
    std::size_t end = folder.find_first_of("\\/", start);
    if (end == std::string::npos) end = folder.size();
    if (hasForbiddenCharacter(folder.substr(start, end - start), false)) return true;
    start = end + 1;
  }
  return false;
}

// The path with each run of separators after its root (the drive, or
// \\server\share) made one, as the workstation reads paths: Wine finds
// nothing for "\\SRV\share\\*.*". The root itself stays as written (a
// server with an empty name is no server).
std::string collapseSeparators(const std::string& path) {
  auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  std::size_t start = 0;
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
    std::size_t server = path.find_first_of("\\/", 2);
    if (server == std::string::npos) return path;
    std::size_t share = path.find_first_of("\\/", server + 1);
    if (share == std::string::npos) return path;
    start = share;
  }
  std::string out = path.substr(0, start);
  for (std::size_t i = start; i < path.size(); ++i) {
    if (isSeparator(path[i]) && out.size() > start && isSeparator(out.back())) continue;
    out += path[i];
  }
  return out;
}

// Code-page text as the "W" functions take it.
std::wstring widened(const std::string& bytes) {
  const int size = static_cast<int>(bytes.size());
  int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
  return wide;
}

// A name from a "W" function as code-page bytes; nullopt when some character
// has no byte of its own in the code page.
std::optional<std::string> narrowedExactly(const wchar_t* wide) {
  BOOL usedDefault = FALSE;
  int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr,
                                &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, bytes.data(), n, nullptr, nullptr);
  bytes.pop_back();  // the closing zero
  return bytes;
}

void writeAll(HANDLE handle, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!::WriteFile(handle, bytes.data() + done, chunk, &written, nullptr)) failLast();
    if (written == 0) fail(ERROR_DISK_FULL);
    done += written;
  }
}

void seek(HANDLE handle, std::uint64_t position) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(position);
  if (!::SetFilePointerEx(handle, to, nullptr, FILE_BEGIN)) failLast();
}

// A file open on Windows.
class Win32File : public SystemFile {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;
  ~Win32File() override { ::CloseHandle(handle_); }

  std::size_t read(char* buffer, std::size_t size) override {
    DWORD n = 0;
    if (!::ReadFile(handle_, buffer, static_cast<DWORD>(size), &n, nullptr)) failLast();
    return n;
  }
  void write(const std::string& bytes) override { writeAll(handle_, bytes); }
  std::optional<std::uint8_t> readAt(std::uint64_t position) override {
    seek(handle_, position);
    unsigned char byte = 0;
    DWORD n = 0;
    if (!::ReadFile(handle_, &byte, 1, &n, nullptr)) failLast();
    if (n != 1) return std::nullopt;
    return byte;
  }
  void writeAt(std::uint64_t position, std::uint8_t byte) override {
    seek(handle_, position);
    DWORD n = 0;
    if (!::WriteFile(handle_, &byte, 1, &n, nullptr)) failLast();
    if (n != 1) fail(ERROR_DISK_FULL);
  }
  std::int64_t length() override {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(handle_, &size)) failLast();
    return size.QuadPart;
  }
  FileIdentity identity() override {
    BY_HANDLE_FILE_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    ::GetFileInformationByHandle(handle_, &info);
    return {info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  }

 private:
  HANDLE handle_;
};

}  // namespace

// ---- listing ------------------------------------------------------------

FormsRuntime::FolderEntries Win32Platform::folderEntries(const std::string& requested, bool) {
  const std::string pathName = collapseSeparators(requested);
  const std::size_t cut = pathName.find_last_of("\\/");
  // A folder path that ends in a separator lists the folder, as the
  // runtime's listing does.
  const bool wholeFolder = cut != std::string::npos && cut + 1 == pathName.size();
  const std::string search = wholeFolder ? pathName + "*" : pathName;
  FolderEntries listed;
  listed.pattern = cut == std::string::npos ? search : search.substr(cut + 1);
  // A forbidden character is a bad name, wherever Windows would notice it
  // (not every version does in a pattern).
  if (hasForbiddenCharacter(listed.pattern, true) ||
      (cut != std::string::npos && hasBadFolderName(pathName.substr(0, cut)))) {
    throw RuntimeError(kErrBadFileNameOrNumber);
  }
  // A pattern is matched by the listing's own rule, not by Windows' (which
  // also matches the short 8.3 names, and where Wine's '?' differs): the
  // whole folder is asked for.
  const std::string asked = hasWildcard(listed.pattern)
                                ? search.substr(0, cut == std::string::npos ? 0 : cut + 1) + "*"
                                : search;
  WIN32_FIND_DATAW entry;
  HANDLE find = ::FindFirstFileW(widened(toCodePage(asked)).c_str(), &entry);
  // Nothing found, or an unknown drive, share or folder: an empty listing.
  if (find == INVALID_HANDLE_VALUE) return listed;
  do {
    // The "A" functions would give a name with a character that the code
    // page lacks as a look-alike or '?', which names another file or
    // none. Wine gives the names of a Linux folder as they are, ':', '|'
    // and '\' included.
    if (std::optional<std::string> bytes = narrowedExactly(entry.cFileName)) {
      listed.entries.push_back({fromCodePage(*bytes), attributeBits(entry.dwFileAttributes)});
    }
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
  return listed;
}

// ---- files and folders -----------------------------------------------------

std::optional<int> Win32Platform::entryAttributes(const std::string& path) {
  std::optional<DWORD> attributes = attributesOf(path);
  if (!attributes) return std::nullopt;
  if (*attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return kAttrDirectory | (isRoot(path) ? 0 : static_cast<int>(*attributes & 6));
  }
  return static_cast<int>(*attributes & 7);
}

bool Win32Platform::isRoot(const std::string& path) {
  return isRootPath(path);
}

void Win32Platform::createFolder(const std::string& path) {
  if (::CreateDirectoryA(toCodePage(path).c_str(), nullptr)) return;
  DWORD error = ::GetLastError();
  // Something of that name is there already: a path/file access error.
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) fail(ERROR_ACCESS_DENIED);
  fail(error, kErrPathNotFound);
}

void Win32Platform::copyContents(const std::string& source, const std::string& destination) {
  // The copy is made beside the destination and renamed over it: a failure
  // half-way (a full disk) leaves the old file whole, and no new
  // half-written file.
  FileReplacement copy;
  if (!copy.begin(toCodePage(destination), FileReplacement::Attributes::kNone) || !copy.close()) {
    failLast(kErrPathNotFound);
  }
  // Made afresh by the copy, the new file gets the source's attributes.
  ::DeleteFileA(copy.newFile().c_str());
  if (!::CopyFileA(toCodePage(source).c_str(), copy.newFile().c_str(), TRUE)) {
    failLast(kErrPathNotFound);
  }
  if (!copy.commit()) failLast(kErrPathNotFound);
}

void Win32Platform::removeFile(const std::string& path) {
  if (!::DeleteFileA(toCodePage(path).c_str())) failLast();
}

void Win32Platform::moveFile(const std::string& oldPath, const std::string& newPath,
                             bool sameFile) {
  const std::string from = toCodePage(oldPath);
  const std::string to = toCodePage(newPath);
  if (sameFile) {
    // A new spelling of the same name. Not every file system renames a
    // file onto its own name: the file goes by way of a name of its own.
    const std::string aside = from + ".zepo-rename";
    if (!::MoveFileA(from.c_str(), aside.c_str())) failLast(kErrPathNotFound);
    if (!::MoveFileA(aside.c_str(), to.c_str())) {
      DWORD error = ::GetLastError();
      ::MoveFileA(aside.c_str(), from.c_str());
      fail(error, kErrPathNotFound);
    }
    return;
  }
  // MoveFileA moves a file to another drive too, copying it.
  if (!::MoveFileA(from.c_str(), to.c_str())) failLast(kErrPathNotFound);
}

// ---- text and binary files ----------------------------------------------

FileIdentity Win32Platform::fileIdentity(const std::string& path) {
  // A handle that asks for no access at all (a folder opens only with
  // backup semantics).
  HANDLE handle = ::CreateFileA(toCodePage(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw RuntimeError(kErrFileNotFound);
  BY_HANDLE_FILE_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  BOOL known = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  if (!known) throw RuntimeError(kErrFileNotFound);
  return {info.dwVolumeSerialNumber,
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::unique_ptr<SystemFile> Win32Platform::openFile(const std::string& path, FileAccess access) {
  const std::string name = toCodePage(path);
  DWORD desired = GENERIC_READ;
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  DWORD disposition = OPEN_EXISTING;
  switch (access) {
    case FileAccess::kRead:
      break;
    case FileAccess::kReplace:
      desired = GENERIC_WRITE;
      share = FILE_SHARE_READ;
      disposition = CREATE_ALWAYS;
      break;
    case FileAccess::kUpdate:
    case FileAccess::kCreate:
      desired = GENERIC_READ | GENERIC_WRITE;
      disposition = OPEN_ALWAYS;
      break;
  }
  HANDLE handle = ::CreateFileA(name.c_str(), desired, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD error = ::GetLastError();
    if (access == FileAccess::kUpdate && error == ERROR_ACCESS_DENIED) return nullptr;
    fail(error, access == FileAccess::kRead ? kErrFileNotFound : kErrPathNotFound);
  }
  return std::make_unique<Win32File>(handle);
}

}  // namespace zepo
