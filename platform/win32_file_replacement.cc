// FileReplacement on Windows: the new file is made with CreateFile
// (CREATE_NEW), flushed with FlushFileBuffers and put in place with
// MoveFileEx, which replaces the old file in one step. The old file's
// hidden, system, archive and read-only attributes go to the new one
// before it takes the old one's place; its security comes from the folder,
// as for any new file there.
#include <windows.h>

#include "platform/file_replacement.h"

namespace zepo {
namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE asHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// Flushes the file `name` that a writer closed: it is opened again for
// writing, the read-only attribute lifted meanwhile.
bool flushClosedFile(const std::string& name) {
  DWORD attributes = ::GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    ::SetFileAttributesA(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  bool flushed = file != INVALID_HANDLE_VALUE && ::FlushFileBuffers(file);
  DWORD error = ::GetLastError();
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(name.c_str(), attributes);
  ::SetLastError(error);
  return flushed;
}

}  // namespace

FileReplacement::~FileReplacement() {
  abandon();
}

void FileReplacement::abandon() {
  DWORD saved = ::GetLastError();
  if (handle_ != -1) ::CloseHandle(asHandle(handle_));
  handle_ = -1;
  if (!temp_.empty()) {
    ::SetFileAttributesA(temp_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(temp_.c_str());
  }
  temp_.clear();
  ::SetLastError(saved);
}

bool FileReplacement::begin(const std::string& path, Attributes attributes) {
  abandon();
  target_ = path;
  keep_ = 0;
  DWORD old = ::GetFileAttributesA(path.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (attributes == Attributes::kOfOldFile && old != INVALID_FILE_ATTRIBUTES) {
    keep_ = old & kKeptAttributes;
  }
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temp_ = newFileName(target_);
    file = ::CreateFileA(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    temp_.clear();
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool FileReplacement::write(std::string_view bytes) {
  if (handle_ == -1) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 1u << 30 ? 1u << 30 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(asHandle(handle_), bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool FileReplacement::close() {
  if (handle_ == -1) return true;
  HANDLE file = asHandle(handle_);
  handle_ = -1;
  if (!::CloseHandle(file)) {
    abandon();
    return false;
  }
  return true;
}

bool FileReplacement::commit() {
  if (temp_.empty()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  // The contents reach the disk before the name does.
  bool flushed =
      handle_ != -1 ? ::FlushFileBuffers(asHandle(handle_)) && close() : flushClosedFile(temp_);
  if (!flushed) {
    abandon();
    return false;
  }
  if (keep_ != 0 && !::SetFileAttributesA(temp_.c_str(), keep_)) {
    abandon();
    return false;
  }
  if (!::MoveFileExA(temp_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    abandon();
    return false;
  }
  temp_.clear();
  return true;
}

}  // namespace zepo
