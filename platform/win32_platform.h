// The platform on Windows: every operation is the Windows function of its
// name, or the file and folder functions that the forms runtime builds on,
// with the runtime's error numbers. Strings cross the "A" functions as
// Windows-1252 text, the system code page the installer is written for.
//
// The header does not include <windows.h>, so that the rest of the program
// never sees its macros.
//
//   win32_platform.cc        Windows functions, system information, app data
//   win32_platform_files.cc  listing, file and folder operations, text and
//                            binary files
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms_runtime.h"

namespace zepo {

class Win32Platform : public FormsRuntime {
 public:
  Win32Platform();
  ~Win32Platform() override;

  std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::string& buffer,
                                         std::uint32_t size, const std::string& fileName) override;
  bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::optional<std::string>& value,
                                  const std::string& fileName) override;
  std::uint32_t GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) override;
  int AddFontResourceA(const std::string& fileName) override;
  bool CreateProcessA(const std::string& commandLine, bool inheritHandles,
                      std::uint32_t creationFlags, const StartupInfo& startupInfo,
                      ProcessInformation& processInformation) override;
  std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) override;
  bool GetExitCodeProcess(ProcessHandle handle, std::int32_t& exitCode) override;
  bool CloseHandle(ProcessHandle handle) override;
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override;
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override;
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                              const std::string& data, std::uint32_t dataSize) override;
  std::int32_t RegDeleteValueA(RegKey key, const std::string& valueName) override;
  std::int32_t RegCloseKey(RegKey key) override;

  FileIdentity fileIdentity(const std::string& path) override;

  int osPlatform() override;
  float osVersion() override;
  std::vector<DriveInfo> drives() override;
  std::string appPath() override;
  std::string appTitle() override;
  AppVersion appVersion() override;

 protected:
  std::optional<int> entryAttributes(const std::string& path) override;
  bool isRoot(const std::string& path) override;
  FolderEntries folderEntries(const std::string& pathName, bool folders) override;
  std::unique_ptr<SystemFile> openFile(const std::string& path, FileAccess access) override;
  void createFolder(const std::string& path) override;
  void removeFile(const std::string& path) override;
  void moveFile(const std::string& oldPath, const std::string& newPath, bool sameFile) override;
  void copyContents(const std::string& source, const std::string& destination) override;

 private:
  // The installer's registry handles are 32-bit numbers; the Windows ones of
  // a 64-bit program are not. Keys it opens get a number of this table.
  std::map<RegKey, void*> openKeys_;
  RegKey nextKey_ = 0x00000100;
};

}  // namespace zepo
