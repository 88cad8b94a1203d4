// Listing, file and folder operations, text and binary files of the Windows
// platform, with the forms runtime's error numbers.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/attribute_rules.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_replacement.h"
#include "platform/line_reader.h"
#include "platform/win32_platform.h"
#include "platform/windows_names.h"

namespace zepo {

struct Win32Platform::OpenFile {
  enum class Mode { kInput, kOutput, kBinary };

  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }

  Mode mode = Mode::kInput;
  HANDLE handle = INVALID_HANDLE_VALUE;
  DWORD volume = 0, indexHigh = 0, indexLow = 0;  // which file it is
  std::unique_ptr<LineReader> lines;              // input: its lines, read from handle
  std::uint64_t position = 0;                     // binary: the next byte
  bool writable = false;                          // binary: opened for writing too
};

struct Win32Platform::Listing {
  std::vector<std::string> names;
  std::size_t next = 0;
  bool ended = false;  // the closing "" has been given
};

Win32Platform::Win32Platform() = default;
Win32Platform::~Win32Platform() {
  for (auto& [number, key] : openKeys_) ::RegCloseKey(static_cast<HKEY>(key));
}

namespace {

constexpr int kMaxFileNumber = 511;

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

bool hiddenOrSystem(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// The listing's attribute bits of Windows' attributes: read-only, hidden,
// system and folder have the same values.
int attributeBits(DWORD attributes) {
  return static_cast<int>(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
}

// A drive root ("d:\", "\\SRV\share\") has no attributes of its own.
bool isRoot(const std::string& path) {
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

// The open file under a number; 52 when none is open under it.
template <typename Files>
auto& openedFile(Files& files, int fileNumber) {
  auto it = files.find(fileNumber);
  if (it == files.end()) throw RuntimeError(kErrBadFileNameOrNumber);
  return *it->second;
}

}  // namespace

// ---- listing ------------------------------------------------------------

std::string Win32Platform::listFirst(const std::string& requested, int attributes) {
  listing_ = std::make_unique<Listing>();
  const std::string pathName = collapseSeparators(requested);
  const std::size_t cut = pathName.find_last_of("\\/");
  // A folder path that ends in a separator lists the folder, as the
  // runtime's listing does.
  const bool wholeFolder = cut != std::string::npos && cut + 1 == pathName.size();
  const std::string search = wholeFolder ? pathName + "*" : pathName;
  const std::string pattern = cut == std::string::npos ? search : search.substr(cut + 1);
  const bool folders = (attributes & kAttrDirectory) != 0;
  // A forbidden character is a bad name, wherever Windows would notice it
  // (not every version does in a pattern).
  if (hasForbiddenCharacter(pattern, true) ||
      (cut != std::string::npos && hasBadFolderName(pathName.substr(0, cut)))) {
    throw RuntimeError(kErrBadFileNameOrNumber);
  }

  std::vector<std::pair<std::string, std::string>> found;  // upper-case form, name
  WIN32_FIND_DATAW entry;
  HANDLE find = ::FindFirstFileW(widened(toCodePage(search)).c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) {
    // Nothing found, or an unknown drive, share or folder: an empty listing.
  } else {
    do {
      // The "A" functions would give a name with a character that the code
      // page lacks as a look-alike or '?', which names another file or
      // none. Wine gives the names of a Linux folder as they are, ':', '|'
      // and '\' included.
      std::optional<std::string> bytes = narrowedExactly(entry.cFileName);
      if (!bytes) continue;
      std::string name = fromCodePage(*bytes);
      if (name == "." || name == ".." || !isSpellableName(name)) continue;
      if (hiddenOrSystem(entry.dwFileAttributes)) continue;
      const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (folder && !folders) continue;
      // Windows also matches the short 8.3 names; the listing matches the
      // names themselves only.
      if (hasWildcard(pattern) && !matchesPattern(pattern, name)) continue;
      found.emplace_back(upperName(name), std::move(name));
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
  }
  // A stable order on every file system: ordinal order of the upper-case
  // forms.
  std::sort(found.begin(), found.end());
  for (auto& [upper, name] : found) listing_->names.push_back(std::move(name));
  return listNext();
}

std::string Win32Platform::listNext() {
  // As the runtime does, asking again after the end, or before any
  // listing, is an invalid call.
  if (!listing_ || listing_->ended) throw RuntimeError(kErrBadCall);
  if (listing_->next >= listing_->names.size()) {
    listing_->ended = true;
    return "";
  }
  return listing_->names[listing_->next++];
}

int Win32Platform::getAttributes(const std::string& path) {
  std::optional<DWORD> attributes = attributesOf(path);
  if (!attributes) throw RuntimeError(kErrFileNotFound);
  if (*attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return kAttrDirectory | (isRoot(path) ? 0 : static_cast<int>(*attributes & 6));
  }
  return static_cast<int>(*attributes & 7);
}

// ---- files and folders -----------------------------------------------------

void Win32Platform::makeFolder(const std::string& path) {
  if (::CreateDirectoryA(toCodePage(path).c_str(), nullptr)) return;
  DWORD error = ::GetLastError();
  // Something of that name is there already: a path/file access error.
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) fail(ERROR_ACCESS_DENIED);
  fail(error, kErrPathNotFound);
}

void Win32Platform::copyFile(const std::string& source, const std::string& destination) {
  std::optional<DWORD> from = attributesOf(source);
  if (!from) throw RuntimeError(kErrFileNotFound);
  if (*from & FILE_ATTRIBUTE_DIRECTORY) throw RuntimeError(kErrPathFileAccess);
  if (isRoot(destination)) throw RuntimeError(kErrPathFileAccess);
  if (std::optional<DWORD> to = attributesOf(destination)) {
    checkReplaceable(attributeBits(*to));
    // Copying a file onto itself is a sharing violation.
    if (fileIdentity(source) == fileIdentity(destination)) throw RuntimeError(kErrPermissionDenied);
  }
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

void Win32Platform::deleteFile(const std::string& path) {
  if (isRoot(path)) throw RuntimeError(kErrFileNotFound);
  std::optional<DWORD> attributes = attributesOf(path);
  // The runtime's delete looks for the file the way the listing does: it
  // never finds a folder, a hidden or a system file.
  if (!attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY) || hiddenOrSystem(*attributes)) {
    throw RuntimeError(kErrFileNotFound);
  }
  if (*attributes & FILE_ATTRIBUTE_READONLY) throw RuntimeError(kErrPathFileAccess);
  if (!::DeleteFileA(toCodePage(path).c_str())) failLast();
}

void Win32Platform::renameFile(const std::string& oldPath, const std::string& newPath) {
  if (isRoot(oldPath)) throw RuntimeError(kErrFileNotFound);
  std::optional<DWORD> attributes = attributesOf(oldPath);
  if (!attributes) throw RuntimeError(kErrFileNotFound);
  if (isRoot(newPath)) throw RuntimeError(kErrPathFileAccess);
  // Only another spelling of the same file is no clash ("HOSTS. ", "c:/x",
  // ".\" and ".." among them): the file's identity says so, not its path.
  const bool taken = attributesOf(newPath).has_value();
  const bool sameName = taken && fileIdentity(oldPath) == fileIdentity(newPath);
  if (taken && !sameName) throw RuntimeError(kErrFileAlreadyExists);
  const std::string from = toCodePage(oldPath);
  const std::string to = toCodePage(newPath);
  if (sameName) {
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

namespace {

// Which file a path names: its volume and file index, read through a handle
// that asks for no access at all (a folder opens only with backup
// semantics). nullopt when it cannot be opened.
std::optional<BY_HANDLE_FILE_INFORMATION> identity(const std::string& name) {
  HANDLE handle =
      ::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  BOOL known = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  return info;
}

}  // namespace

FileIdentity Win32Platform::fileIdentity(const std::string& path) {
  std::optional<BY_HANDLE_FILE_INFORMATION> info = identity(toCodePage(path));
  if (!info) throw RuntimeError(kErrFileNotFound);
  return {info->dwVolumeSerialNumber,
          (std::uint64_t{info->nFileIndexHigh} << 32) | info->nFileIndexLow};
}

void Win32Platform::openText(int fileNumber, const std::string& path, TextMode mode) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber) throw RuntimeError(kErrBadFileNameOrNumber);
  if (files_.count(fileNumber) != 0) throw RuntimeError(kErrFileAlreadyOpen);
  std::optional<DWORD> attributes = attributesOf(path);
  if (attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw RuntimeError(kErrPathFileAccess);
  }
  auto record = std::make_unique<OpenFile>();
  const std::string name = toCodePage(path);
  if (attributes) {
    if (std::optional<BY_HANDLE_FILE_INFORMATION> info = identity(name)) {
      record->volume = info->dwVolumeSerialNumber;
      record->indexHigh = info->nFileIndexHigh;
      record->indexLow = info->nFileIndexLow;
      // The runtime lets a file be open for input under several numbers at
      // once, but a file being written under no other number.
      for (const auto& [number, other] : files_) {
        if (other->volume == record->volume && other->indexHigh == record->indexHigh &&
            other->indexLow == record->indexLow &&
            (mode != TextMode::kInput || other->mode != OpenFile::Mode::kInput)) {
          throw RuntimeError(kErrFileAlreadyOpen);
        }
      }
    }
  }
  if (mode == TextMode::kInput) {
    if (!attributes) throw RuntimeError(kErrFileNotFound);
    record->handle = ::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (record->handle == INVALID_HANDLE_VALUE) failLast();
    record->mode = OpenFile::Mode::kInput;
  } else {
    if (attributes) checkReplaceable(attributeBits(*attributes));
    record->handle = ::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (record->handle == INVALID_HANDLE_VALUE) failLast(kErrPathNotFound);
    record->mode = OpenFile::Mode::kOutput;
    if (!attributes) {
      BY_HANDLE_FILE_INFORMATION info;
      if (::GetFileInformationByHandle(record->handle, &info)) {
        record->volume = info.dwVolumeSerialNumber;
        record->indexHigh = info.nFileIndexHigh;
        record->indexLow = info.nFileIndexLow;
      }
    }
  }
  if (mode == TextMode::kInput) {
    HANDLE handle = record->handle;
    record->lines = std::make_unique<LineReader>([handle](char* buffer, std::size_t size) {
      DWORD n = 0;
      if (!::ReadFile(handle, buffer, static_cast<DWORD>(size), &n, nullptr)) failLast();
      return static_cast<std::size_t>(n);
    });
  }
  files_[fileNumber] = std::move(record);
}

std::string Win32Platform::readLine(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kInput) throw RuntimeError(kErrBadFileMode);
  return file.lines->readLine();
}

bool Win32Platform::endOfFile(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  switch (file.mode) {
    case OpenFile::Mode::kInput:
      return file.lines->atEnd();
    case OpenFile::Mode::kBinary:
      return static_cast<std::int64_t>(file.position) >= fileLength(fileNumber);
    case OpenFile::Mode::kOutput:
      break;
  }
  throw RuntimeError(kErrBadFileMode);
}

void Win32Platform::writeLine(int fileNumber, const std::string& text) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kOutput) throw RuntimeError(kErrBadFileMode);
  writeAll(file.handle, toCodePage(text) + "\r\n");
}

void Win32Platform::closeFile(int fileNumber) {
  files_.erase(fileNumber);
}

void Win32Platform::openBinary(int fileNumber, const std::string& path) {
  if (fileNumber < 1 || fileNumber > kMaxFileNumber) throw RuntimeError(kErrBadFileNameOrNumber);
  if (files_.count(fileNumber) != 0) throw RuntimeError(kErrFileAlreadyOpen);
  std::optional<DWORD> attributes = attributesOf(path);
  if (attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw RuntimeError(kErrPathFileAccess);
  }
  auto record = std::make_unique<OpenFile>();
  const std::string name = toCodePage(path);
  if (attributes) {
    if (std::optional<BY_HANDLE_FILE_INFORMATION> info = identity(name)) {
      record->volume = info->dwVolumeSerialNumber;
      record->indexHigh = info->nFileIndexHigh;
      record->indexLow = info->nFileIndexLow;
      for (const auto& [number, other] : files_) {
        if (other->volume == record->volume && other->indexHigh == record->indexHigh &&
            other->indexLow == record->indexLow) {
          throw RuntimeError(kErrFileAlreadyOpen);
        }
      }
    }
  }
  record->mode = OpenFile::Mode::kBinary;
  // As the runtime does, a file that cannot be written is opened for
  // reading only; a missing one is made.
  record->writable = !attributes || !(*attributes & FILE_ATTRIBUTE_READONLY);
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (record->writable) {
    record->handle = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (record->handle == INVALID_HANDLE_VALUE && attributes &&
        ::GetLastError() == ERROR_ACCESS_DENIED) {
      record->writable = false;
    }
  }
  if (!record->writable) {
    record->handle = ::CreateFileA(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (record->handle == INVALID_HANDLE_VALUE) failLast(kErrPathNotFound);
  if (!attributes) {
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileInformationByHandle(record->handle, &info)) {
      record->volume = info.dwVolumeSerialNumber;
      record->indexHigh = info.nFileIndexHigh;
      record->indexLow = info.nFileIndexLow;
    }
  }
  files_[fileNumber] = std::move(record);
}

std::int64_t Win32Platform::fileLength(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.handle, &size)) failLast();
  return size.QuadPart;
}

namespace {

void seek(HANDLE handle, std::uint64_t position) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(position);
  if (!::SetFilePointerEx(handle, to, nullptr, FILE_BEGIN)) failLast();
}

}  // namespace

std::uint8_t Win32Platform::readByte(int fileNumber) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kBinary) throw RuntimeError(kErrBadFileMode);
  seek(file.handle, file.position);
  unsigned char byte = 0;
  DWORD n = 0;
  if (!::ReadFile(file.handle, &byte, 1, &n, nullptr)) failLast();
  ++file.position;
  // Reading past the end gives a zero byte, as the runtime's Get does.
  return n == 1 ? byte : 0;
}

void Win32Platform::writeByte(int fileNumber, std::uint8_t byte) {
  OpenFile& file = openedFile(files_, fileNumber);
  if (file.mode != OpenFile::Mode::kBinary) throw RuntimeError(kErrBadFileMode);
  if (!file.writable) throw RuntimeError(kErrPathFileAccess);
  seek(file.handle, file.position);
  DWORD n = 0;
  if (!::WriteFile(file.handle, &byte, 1, &n, nullptr)) failLast();
  if (n != 1) fail(ERROR_DISK_FULL);
  ++file.position;
}

}  // namespace zepo
