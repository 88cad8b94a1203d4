// Writing a whole file so that nobody ever sees it empty or cut short: the
// new contents go to a new file beside the old one, are flushed to the
// disk, and the new file is renamed over the old one, which it replaces with
// the old one's permissions and attributes. A kill, a crash or a full disk
// at any moment leaves the old file or the new one, whole; a failure
// removes the new file again. Every write of the workstation layer that
// replaces a whole file (the INI files, a copy onto a file, the registry
// file of the Linux workstation) goes this way.
//
//   FileReplacement file;
//   if (!file.begin(path) || !file.write(bytes) || !file.commit()) ... failed
//
// Paths are as the system's own file functions take them (Windows-1252 on
// Windows). The system's error (errno, GetLastError) tells why a call
// failed. linux_file_replacement.cc and win32_file_replacement.cc make,
// write and rename the new file; the rest is file_replacement.cc.
//
// On Linux a symbolic link as the last component is followed: the file it
// names is replaced and the link stays. Hard links to the old file keep
// the old contents.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zepo {

class FileReplacement {
 public:
  FileReplacement() = default;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();  // without commit(): removes the new file

  enum class Attributes {
    kOfOldFile,  // the old file's permissions, owner and attributes
    kNone,       // those of a new file; the caller sets its own
  };

  // Makes the new file for `path`. A file that did not exist yet gets what
  // a new file gets. On Linux a device or a pipe has no contents to keep
  // and is written as it is. false when the new file cannot be made or
  // `path` is a folder.
  bool begin(const std::string& path, Attributes attributes = Attributes::kOfOldFile);

  // The new file's handle (a descriptor on Linux, a HANDLE on Windows), for
  // writing it and setting its attributes; -1 once closed.
  std::intptr_t handle() const { return handle_; }
  // The new file's name, for a writer that opens the file itself after
  // close() (Windows' own profile and copy functions).
  const std::string& newFile() const { return temp_; }

  // false when not every byte was written.
  bool write(std::string_view bytes);
  // Closes the new file's handle, keeping the file for commit().
  bool close();

  // Flushes the new file and puts it in the old one's place. false when
  // that fails: the old file is then as it was.
  bool commit();

 private:
  // A name beside `target` that no other writer picks at the same moment.
  static std::string newFileName(const std::string& target);
  void abandon();

  std::string target_;         // the file being replaced
  std::string temp_;           // the new file, until it is renamed
  std::intptr_t handle_ = -1;  // the new file, while open
  std::uint32_t keep_ = 0;     // Windows: the old file's attributes
};

// The whole of `bytes` as the new contents of `path`, as above; false on
// failure.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace zepo
