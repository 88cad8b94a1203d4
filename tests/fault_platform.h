// A Platform for tests that forwards every call to a real one, writes each
// call in a log ("renameFile(c:\a, c:\b)"), and fails or answers the calls
// that a rule picks:
//
//   FaultPlatform platform{ws.platform()};
//   platform.rules = {FaultPlatform::fail("renameFile", kErrPermissionDenied, "\\hosts.bak,")};
//   platform.rules = {FaultPlatform::answer("osPlatform", "1")};
//
// Arguments are logged as text, a file number as the path it was opened
// on, and a process handle or registry key as "#n", the n-th one handed out
// through this platform.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace zepo {

class FaultPlatform : public Platform {
 public:
  struct Rule {
    std::string operation;
    std::string match;    // a text that the call's log entry holds; "" for any
    int call = 0;         // the n-th call that matches (1 the first); 0 every one
    int error = 0;        // nonzero: throws RuntimeError(error)
    std::string returns;  // else: returns this (as a number where one is returned), or
                          // does nothing for an operation without a result
  };

  // Throws RuntimeError(error) at the call; answers with `returns` instead
  // of making the call.
  static Rule fail(std::string operation, int error, std::string match = "", int call = 0) {
    return {std::move(operation), std::move(match), call, error, ""};
  }
  static Rule answer(std::string operation, std::string returns, std::string match = "",
                     int call = 0) {
    return {std::move(operation), std::move(match), call, 0, std::move(returns)};
  }

  explicit FaultPlatform(Platform& target) : target_(target) {}

  std::vector<Rule> rules;
  std::vector<std::string> log;
  // Called with each entry as it is logged, before the call is made.
  std::function<void(const std::string&)> onCall;

  // The logged calls of one operation, in order.
  std::vector<std::string> calls(const std::string& operation) const;
  // How many process handles and registry keys the target handed out.
  int handedOut() const { return handedOut_; }

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

  std::string listFirst(const std::string& pathName, int attributes) override;
  std::string listNext() override;
  int getAttributes(const std::string& path) override;
  FileIdentity fileIdentity(const std::string& path) override;
  void makeFolder(const std::string& path) override;
  void copyFile(const std::string& source, const std::string& destination) override;
  void deleteFile(const std::string& path) override;
  void renameFile(const std::string& oldPath, const std::string& newPath) override;
  void openText(int fileNumber, const std::string& path, TextMode mode) override;
  std::string readLine(int fileNumber) override;
  bool endOfFile(int fileNumber) override;
  void writeLine(int fileNumber, const std::string& text) override;
  void closeFile(int fileNumber) override;
  void openBinary(int fileNumber, const std::string& path) override;
  std::int64_t fileLength(int fileNumber) override;
  std::uint8_t readByte(int fileNumber) override;
  void writeByte(int fileNumber, std::uint8_t byte) override;
  int osPlatform() override;
  float osVersion() override;
  std::vector<DriveInfo> drives() override;
  std::string appPath() override;
  std::string appTitle() override;
  AppVersion appVersion() override;

 private:
  // Logs the call; throws when a rule says so, returns the rule that
  // answers it instead of the target, or nullptr.
  const Rule* enter(const std::string& operation, const std::vector<std::string>& arguments);
  std::string handle(std::uint64_t value) const;
  void handOut(std::uint64_t value);
  std::string file(int fileNumber) const;

  Platform& target_;
  std::map<const Rule*, int> matched_;
  int handedOut_ = 0;
  std::map<std::uint64_t, int> handles_;  // handed out -> n
  std::map<int, std::string> files_;      // file number -> path
};

}  // namespace zepo
