// The one interface between the installer and the operating system: the
// Windows functions it calls and the forms runtime's file, folder, process
// and application-data operations. Windows, message boxes and input boxes are
// not here: they belong to the user interface (shell/ui.h).
//
// Strings inside the program are UTF-8; paths are Windows paths ("d:\zepo",
// "\\SRV1\zepo\prog"). Text that crosses a Windows function or lands in a
// file is 8-bit text in the system code page (Windows-1252); the
// implementation converts.
//
// Failures: the Windows-function methods never throw and report as the
// Windows function does; the forms-runtime methods throw RuntimeError
// (platform/errors.h) with the Windows runtime error number.
//
// Method names never equal the unsuffixed names that <windows.h> turns into
// macros (CopyFile, DeleteFile...).
#pragma once

#include "zepo_version.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zepo {

// 32-bit registry key handle, as Windows gives it.
using RegKey = std::uint32_t;
inline constexpr RegKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;
inline constexpr RegKey kHkeyUsers = 0x80000003;
inline constexpr RegKey kHkeyPerformanceData = 0x80000004;
inline constexpr RegKey kHkeyCurrentConfig = 0x80000005;
inline constexpr RegKey kHkeyDynData = 0x80000006;
// No valid handle: every registry call rejects it.
inline constexpr RegKey kInvalidRootKey = 0x88888888;

inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kKeyQueryValue = 1;
inline constexpr std::uint32_t kKeySetValue = 2;

// Opaque process or thread handle; 0 is no handle.
using ProcessHandle = std::uint64_t;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr std::uint32_t kNormalPriorityClass = 32;

// STARTUPINFO: only the size is ever set; every other field is zero.
struct StartupInfo {
  std::uint32_t cb = 68;
};

struct ProcessInformation {
  ProcessHandle hProcess = 0;
  ProcessHandle hThread = 0;
  std::uint32_t dwProcessId = 0;
  std::uint32_t dwThreadId = 0;
};

// Attribute values of the directory listing and of getAttributes.
enum : int {
  kAttrNormal = 0,
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrDirectory = 16,
};

enum class TextMode { kInput, kOutput };

// What makes a file or folder itself, whatever path names it: two paths
// name the same object (through a link, another spelling, a share that
// points into a drive) exactly when their identities are equal.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
  auto operator<=>(const FileIdentity&) const = default;
};

struct AppVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

// This program's version, on every platform.
inline constexpr AppVersion kProgramVersion{ZEPO_VERSION_MAJOR, ZEPO_VERSION_MINOR,
                                            ZEPO_VERSION_REVISION};

// A drive of the workstation: its lower-case letter and volume label ("" for
// none).
struct DriveInfo {
  char letter = 'c';
  std::string label;
};

class Platform {
 public:
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  virtual ~Platform() = default;

  // ---- Windows functions -------------------------------------------------

  // Reads a value of an INI file by the Windows profile rules. `buffer` must
  // hold at least `size` characters; the value (or `defaultValue`), cut to
  // size - 1 characters, and a terminating '\0' are written at its start and
  // the rest is left as it was. Returns the number of characters written
  // before the '\0' (characters, not UTF-8 bytes). A missing file reads as
  // the default.
  virtual std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                                 const std::string& defaultValue,
                                                 std::string& buffer, std::uint32_t size,
                                                 const std::string& fileName) = 0;

  // Writes or replaces `key` in `section`, creating the section and the file
  // when missing; with no value (std::nullopt) removes the key instead. Every
  // other line of the file stays byte for byte. Returns false on failure.
  virtual bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                          const std::optional<std::string>& value,
                                          const std::string& fileName) = 0;

  // Writes the Windows folder (no closing backslash) and a '\0' at the start
  // of `buffer` (at least `size` characters) and returns its length.
  virtual std::uint32_t GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) = 0;

  // Makes the font file available; returns 1, or 0 when the file is missing.
  virtual int AddFontResourceA(const std::string& fileName) = 0;

  // Starts the program named by the command line's first word (looked for in
  // the installer's own executable folder, then along PATH), inheriting the
  // environment, the current folder and the standard handles. No shell is
  // involved. Returns false, with `processInformation` left zero, when the
  // program cannot be started.
  virtual bool CreateProcessA(const std::string& commandLine, bool inheritHandles,
                              std::uint32_t creationFlags, const StartupInfo& startupInfo,
                              ProcessInformation& processInformation) = 0;
  // kWaitObject0 when the process has ended; kWaitFailed for a bad handle.
  virtual std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) = 0;
  // Stores the exit code and returns true; on failure returns false and
  // leaves `exitCode` as it was.
  virtual bool GetExitCodeProcess(ProcessHandle handle, std::int32_t& exitCode) = 0;
  virtual bool CloseHandle(ProcessHandle handle) = 0;

  // Registry: results are Windows error codes (kErrorSuccess on success).
  // Keys are matched ignoring case and keep their spelling; value names too.
  virtual std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey,
                                       std::uint32_t options, std::uint32_t access, RegKey& result,
                                       std::uint32_t& disposition) = 0;
  virtual std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                                     RegKey& result) = 0;
  // `data` holds `dataSize` bytes of 8-bit text (for REG_SZ, with its
  // closing zero byte).
  virtual std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                                      const std::string& data, std::uint32_t dataSize) = 0;
  virtual std::int32_t RegDeleteValueA(RegKey key, const std::string& valueName) = 0;
  virtual std::int32_t RegCloseKey(RegKey key) = 0;

  // ---- forms runtime: files and folders (throw RuntimeError) -------------

  // Directory listing. `pathName` is a path whose last component may hold
  // '*' and '?'; `attributes` is kAttrNormal (ordinary and read-only files)
  // or kAttrDirectory (folders too). Hidden and system entries, "." and ".."
  // are never given. Returns the first matching name, without its folder, or
  // "" when nothing matches (also for an unknown drive, share or folder).
  virtual std::string listFirst(const std::string& pathName, int attributes) = 0;
  // The next name of the listing that listFirst began, "" at its end.
  virtual std::string listNext() = 0;
  // The attribute bits of an existing file or folder.
  virtual int getAttributes(const std::string& path) = 0;
  // The identity of an existing file or folder, links followed; fails with
  // 53 when there is none. Tree walks use it to enter no folder twice.
  virtual FileIdentity fileIdentity(const std::string& path) = 0;

  // Makes one folder; its parent must exist.
  virtual void makeFolder(const std::string& path) = 0;
  // Copies a file, overwriting an existing destination; one that is
  // read-only, hidden or system, or a folder, raises 75 and stays as it was.
  virtual void copyFile(const std::string& source, const std::string& destination) = 0;
  // Deletes a file; fails with 53 when there is none.
  virtual void deleteFile(const std::string& path) = 0;
  // Renames a file, read-only ones too; fails with 58 when the new name
  // exists.
  virtual void renameFile(const std::string& oldPath, const std::string& newPath) = 0;

  // Text files under the file numbers 1 and 2. Opening for output empties an
  // existing file (75 for a read-only, hidden or system one); opening a missing file for input
  // fails with 53.
  virtual void openText(int fileNumber, const std::string& path, TextMode mode) = 0;
  // The next line without its line end (CR LF, LF or CR).
  virtual std::string readLine(int fileNumber) = 0;
  virtual bool endOfFile(int fileNumber) = 0;
  // Writes the text followed by CR LF.
  virtual void writeLine(int fileNumber, const std::string& text) = 0;
  // Closes a text or binary file; closing a number that is not open does
  // nothing.
  virtual void closeFile(int fileNumber) = 0;

  // Binary files: bytes at a position that starts at the file's beginning
  // and advances by one with every read or write.
  virtual void openBinary(int fileNumber, const std::string& path) = 0;
  virtual std::int64_t fileLength(int fileNumber) = 0;
  virtual std::uint8_t readByte(int fileNumber) = 0;
  virtual void writeByte(int fileNumber, std::uint8_t byte) = 0;

  // ---- system information and application data ---------------------------

  // Property 10 of the system-information control: 2 for the NT family.
  virtual int osPlatform() = 0;
  // Property 11: the operating-system version (5.1 for example).
  virtual float osVersion() = 0;
  // The drives of the workstation, in letter order.
  virtual std::vector<DriveInfo> drives() = 0;

  // The installer's own folder, without a closing backslash.
  virtual std::string appPath() = 0;
  virtual std::string appTitle() = 0;
  virtual AppVersion appVersion() = 0;
};

}  // namespace zepo
