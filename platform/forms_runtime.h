// The forms runtime's file and folder operations, written once above the
// operating system: file numbers and what may be open under them, text
// lines (read by blocks, written by blocks), end of file, binary files by
// position, the listing and its cursor, and what the attributes and a
// file's identity allow. A platform derives from it and supplies only the
// system's own steps: open, read and write a file, an entry's attributes
// and identity, the entries of a folder, make a folder, delete, rename and
// copy, each raising the runtime's error number of what failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zepo {

// A file open on the system; closed when destroyed. Failures raise
// RuntimeError with the runtime's number.
class SystemFile {
 public:
  virtual ~SystemFile() = default;
  // Up to `size` of the next bytes; 0 at the end.
  virtual std::size_t read(char* buffer, std::size_t size) = 0;
  // Writes all of the bytes at the current position.
  virtual void write(const std::string& bytes) = 0;
  // The byte at `position`; nullopt past the end.
  virtual std::optional<std::uint8_t> readAt(std::uint64_t position) = 0;
  virtual void writeAt(std::uint64_t position, std::uint8_t byte) = 0;
  virtual std::int64_t length() = 0;
  virtual FileIdentity identity() = 0;
};

enum class FileAccess {
  kRead,     // an existing file, for reading
  kReplace,  // for writing: emptied, or made when missing
  kUpdate,   // an existing file, for reading and writing
  kCreate,   // a missing file, made for reading and writing
};

class FormsRuntime : public Platform {
 public:
  FormsRuntime();
  ~FormsRuntime() override;

  std::string listFirst(const std::string& pathName, int attributes) final;
  std::string listNext() final;
  int getAttributes(const std::string& path) final;
  void makeFolder(const std::string& path) final;
  void copyFile(const std::string& source, const std::string& destination) final;
  void deleteFile(const std::string& path) final;
  void renameFile(const std::string& oldPath, const std::string& newPath) final;
  void openText(int fileNumber, const std::string& path, TextMode mode) final;
  std::string readLine(int fileNumber) final;
  bool endOfFile(int fileNumber) final;
  void writeLine(int fileNumber, const std::string& text) final;
  void closeFile(int fileNumber) final;
  void openBinary(int fileNumber, const std::string& path) final;
  std::int64_t fileLength(int fileNumber) final;
  std::uint8_t readByte(int fileNumber) final;
  void writeByte(int fileNumber, std::uint8_t byte) final;

  // The program is the same on every system.
  std::string appTitle() final { return "clientZEPO"; }
  AppVersion appVersion() final { return kProgramVersion; }

 protected:
  // An entry of a folder and its attribute bits (hidden for what the
  // system hides).
  struct Entry {
    std::string name;
    int attributes = kAttrNormal;
  };
  struct FolderEntries {
    std::string pattern;  // the last component: a name or a pattern
    std::vector<Entry> entries;
  };

  // The attribute bits of an existing file or folder (a drive root or a
  // share has the folder bit only); nullopt when there is none. A missing
  // folder on the way raises 76, a bad name 52.
  virtual std::optional<int> entryAttributes(const std::string& path) = 0;
  // Whether the path names a drive root or a share.
  virtual bool isRoot(const std::string& path) = 0;
  // The identity of the entry that a rename would move (a link itself, not
  // what it points to); fails as fileIdentity does.
  virtual FileIdentity entryIdentity(const std::string& path) { return fileIdentity(path); }
  // The entries that a listing of `pathName` may give: files and folders
  // (devices left out), with at least every one that matches the pattern;
  // nothing for an unknown drive, share or folder. Raises 52 for a bad name.
  virtual FolderEntries folderEntries(const std::string& pathName, bool folders) = 0;
  // nullptr for kUpdate when the file may not be written.
  virtual std::unique_ptr<SystemFile> openFile(const std::string& path, FileAccess access) = 0;
  virtual void createFolder(const std::string& path) = 0;
  virtual void removeFile(const std::string& path) = 0;
  // Moves a file to a new name, to another drive too; `sameFile` when the
  // new name is another spelling of the old one.
  virtual void moveFile(const std::string& oldPath, const std::string& newPath, bool sameFile) = 0;
  // Copies the regular file `source` over `destination` (a file that may be
  // replaced, or none), with the source's attributes, whole or not at all.
  virtual void copyContents(const std::string& source, const std::string& destination) = 0;

 private:
  struct OpenFile;
  struct Listing;

  OpenFile& opened(int fileNumber);
  // Checks that the file `path` (attributes `attributes`, none when it is
  // missing) may be opened: for input a file may be open under several
  // numbers at once, a file being written under no other.
  void checkOpenable(const std::string& path, const std::optional<int>& attributes, bool forInput);

  std::map<int, std::unique_ptr<OpenFile>> files_;
  std::unique_ptr<Listing> listing_;
};

}  // namespace zepo
