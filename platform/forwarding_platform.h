// A Platform that forwards every call to another one. The unattended run's
// log derives from it and overrides the calls that change the workstation.
#pragma once

#include "platform/platform.h"

namespace zepo {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& target) : target_(target) {}
  Platform& target() { return target_; }

  std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::string& buffer,
                                         std::uint32_t size, const std::string& fileName) override {
    return target_.GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
  }
  bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::optional<std::string>& value,
                                  const std::string& fileName) override {
    return target_.WritePrivateProfileStringA(section, key, value, fileName);
  }
  std::uint32_t GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) override {
    return target_.GetWindowsDirectoryA(buffer, size);
  }
  int AddFontResourceA(const std::string& fileName) override {
    return target_.AddFontResourceA(fileName);
  }
  bool CreateProcessA(const std::string& commandLine, bool inheritHandles,
                      std::uint32_t creationFlags, const StartupInfo& startupInfo,
                      ProcessInformation& processInformation) override {
    return target_.CreateProcessA(commandLine, inheritHandles, creationFlags, startupInfo,
                                  processInformation);
  }
  std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) override {
    return target_.WaitForSingleObject(handle, milliseconds);
  }
  bool GetExitCodeProcess(ProcessHandle handle, std::int32_t& exitCode) override {
    return target_.GetExitCodeProcess(handle, exitCode);
  }
  bool CloseHandle(ProcessHandle handle) override { return target_.CloseHandle(handle); }
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override {
    return target_.RegCreateKeyExA(root, subKey, options, access, result, disposition);
  }
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override {
    return target_.RegOpenKeyExA(root, subKey, access, result);
  }
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                              const std::string& data, std::uint32_t dataSize) override {
    return target_.RegSetValueExA(key, valueName, type, data, dataSize);
  }
  std::int32_t RegDeleteValueA(RegKey key, const std::string& valueName) override {
    return target_.RegDeleteValueA(key, valueName);
  }
  std::int32_t RegCloseKey(RegKey key) override { return target_.RegCloseKey(key); }

  std::string listFirst(const std::string& pathName, int attributes) override {
    return target_.listFirst(pathName, attributes);
  }
  std::string listNext() override { return target_.listNext(); }
  int getAttributes(const std::string& path) override { return target_.getAttributes(path); }
  FileIdentity fileIdentity(const std::string& path) override {
    return target_.fileIdentity(path);
  }
  void makeFolder(const std::string& path) override { target_.makeFolder(path); }
  void copyFile(const std::string& source, const std::string& destination) override {
    target_.copyFile(source, destination);
  }
  void deleteFile(const std::string& path) override { target_.deleteFile(path); }
  void renameFile(const std::string& oldPath, const std::string& newPath) override {
    target_.renameFile(oldPath, newPath);
  }
  void openText(int fileNumber, const std::string& path, TextMode mode) override {
    target_.openText(fileNumber, path, mode);
  }
  std::string readLine(int fileNumber) override { return target_.readLine(fileNumber); }
  bool endOfFile(int fileNumber) override { return target_.endOfFile(fileNumber); }
  void writeLine(int fileNumber, const std::string& text) override {
    target_.writeLine(fileNumber, text);
  }
  void closeFile(int fileNumber) override { target_.closeFile(fileNumber); }
  void openBinary(int fileNumber, const std::string& path) override {
    target_.openBinary(fileNumber, path);
  }
  std::int64_t fileLength(int fileNumber) override { return target_.fileLength(fileNumber); }
  std::uint8_t readByte(int fileNumber) override { return target_.readByte(fileNumber); }
  void writeByte(int fileNumber, std::uint8_t byte) override {
    target_.writeByte(fileNumber, byte);
  }
  int osPlatform() override { return target_.osPlatform(); }
  float osVersion() override { return target_.osVersion(); }
  std::vector<DriveInfo> drives() override { return target_.drives(); }
  std::string appPath() override { return target_.appPath(); }
  std::string appTitle() override { return target_.appTitle(); }
  AppVersion appVersion() override { return target_.appVersion(); }

 private:
  Platform& target_;
};

}  // namespace zepo
