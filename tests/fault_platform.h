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
#include <type_traits>
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
                                         std::uint32_t size, const std::string& fileName) override {
    if (const Rule* r = enter("GetPrivateProfileStringA", {section, key, defaultValue, fileName})) {
      buffer = r->returns;
      return static_cast<std::uint32_t>(buffer.size());
    }
    return target_.GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
  }
  bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::optional<std::string>& value,
                                  const std::string& fileName) override {
    return pass<bool>(
        "WritePrivateProfileStringA", {section, key, value.value_or("(none)"), fileName},
        [&] { return target_.WritePrivateProfileStringA(section, key, value, fileName); });
  }
  std::uint32_t GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) override {
    if (const Rule* r = enter("GetWindowsDirectoryA", {text(size)})) {
      buffer = r->returns;
      return static_cast<std::uint32_t>(buffer.size());
    }
    return target_.GetWindowsDirectoryA(buffer, size);
  }
  int AddFontResourceA(const std::string& fileName) override {
    return pass<int>("AddFontResourceA", {fileName},
                     [&] { return target_.AddFontResourceA(fileName); });
  }
  bool CreateProcessA(const std::string& commandLine, bool inheritHandles,
                      std::uint32_t creationFlags, const StartupInfo& startupInfo,
                      ProcessInformation& info) override {
    return pass<bool>(
        "CreateProcessA",
        {commandLine, text(inheritHandles), text(creationFlags), text(startupInfo.cb)}, [&] {
          bool started =
              target_.CreateProcessA(commandLine, inheritHandles, creationFlags, startupInfo, info);
          handOut(info.hProcess);
          handOut(info.hThread);
          return started;
        });
  }
  std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t ms) override {
    return pass<std::uint32_t>("WaitForSingleObject", {handle(process), text(ms)},
                               [&] { return target_.WaitForSingleObject(process, ms); });
  }
  bool GetExitCodeProcess(ProcessHandle process, std::int32_t& exitCode) override {
    return pass<bool>("GetExitCodeProcess", {handle(process)},
                      [&] { return target_.GetExitCodeProcess(process, exitCode); });
  }
  bool CloseHandle(ProcessHandle process) override {
    return pass<bool>("CloseHandle", {handle(process)},
                      [&] { return target_.CloseHandle(process); });
  }
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override {
    return pass<std::int32_t>(
        "RegCreateKeyExA", {handle(root), subKey, text(options), text(access)}, [&] {
          std::int32_t error =
              target_.RegCreateKeyExA(root, subKey, options, access, result, disposition);
          if (error == kErrorSuccess) handOut(result);
          return error;
        });
  }
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override {
    return pass<std::int32_t>("RegOpenKeyExA", {handle(root), subKey, text(access)}, [&] {
      std::int32_t error = target_.RegOpenKeyExA(root, subKey, access, result);
      if (error == kErrorSuccess) handOut(result);
      return error;
    });
  }
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                              const std::string& data, std::uint32_t dataSize) override {
    return pass<std::int32_t>(
        "RegSetValueExA", {handle(key), valueName, text(type), data, text(dataSize)},
        [&] { return target_.RegSetValueExA(key, valueName, type, data, dataSize); });
  }
  std::int32_t RegDeleteValueA(RegKey key, const std::string& valueName) override {
    return pass<std::int32_t>("RegDeleteValueA", {handle(key), valueName},
                              [&] { return target_.RegDeleteValueA(key, valueName); });
  }
  std::int32_t RegCloseKey(RegKey key) override {
    return pass<std::int32_t>("RegCloseKey", {handle(key)},
                              [&] { return target_.RegCloseKey(key); });
  }

  std::string listFirst(const std::string& pathName, int attributes) override {
    return pass<std::string>("listFirst", {pathName, text(attributes)},
                             [&] { return target_.listFirst(pathName, attributes); });
  }
  std::string listNext() override {
    return pass<std::string>("listNext", {}, [&] { return target_.listNext(); });
  }
  int getAttributes(const std::string& path) override {
    return pass<int>("getAttributes", {path}, [&] { return target_.getAttributes(path); });
  }
  FileIdentity fileIdentity(const std::string& path) override {
    return enter("fileIdentity", {path}) ? FileIdentity{} : target_.fileIdentity(path);
  }
  void makeFolder(const std::string& path) override {
    if (!enter("makeFolder", {path})) target_.makeFolder(path);
  }
  void copyFile(const std::string& source, const std::string& destination) override {
    if (!enter("copyFile", {source, destination})) target_.copyFile(source, destination);
  }
  void deleteFile(const std::string& path) override {
    if (!enter("deleteFile", {path})) target_.deleteFile(path);
  }
  void renameFile(const std::string& oldPath, const std::string& newPath) override {
    if (!enter("renameFile", {oldPath, newPath})) target_.renameFile(oldPath, newPath);
  }
  void openText(int fileNumber, const std::string& path, TextMode mode) override {
    files_[fileNumber] = path;
    if (!enter("openText", {path, mode == TextMode::kInput ? "input" : "output"})) {
      target_.openText(fileNumber, path, mode);
    }
  }
  std::string readLine(int fileNumber) override {
    return pass<std::string>("readLine", {file(fileNumber)},
                             [&] { return target_.readLine(fileNumber); });
  }
  bool endOfFile(int fileNumber) override {
    return pass<bool>("endOfFile", {file(fileNumber)},
                      [&] { return target_.endOfFile(fileNumber); });
  }
  void writeLine(int fileNumber, const std::string& line) override {
    if (!enter("writeLine", {file(fileNumber), line})) target_.writeLine(fileNumber, line);
  }
  void closeFile(int fileNumber) override {
    if (!enter("closeFile", {file(fileNumber)})) target_.closeFile(fileNumber);
  }
  void openBinary(int fileNumber, const std::string& path) override {
    files_[fileNumber] = path;
    if (!enter("openBinary", {path})) target_.openBinary(fileNumber, path);
  }
  std::int64_t fileLength(int fileNumber) override {
    return pass<std::int64_t>("fileLength", {file(fileNumber)},
                              [&] { return target_.fileLength(fileNumber); });
  }
  std::uint8_t readByte(int fileNumber) override {
    return pass<std::uint8_t>("readByte", {file(fileNumber)},
                              [&] { return target_.readByte(fileNumber); });
  }
  void writeByte(int fileNumber, std::uint8_t byte) override {
    if (!enter("writeByte", {file(fileNumber), text(byte)})) target_.writeByte(fileNumber, byte);
  }
  int osPlatform() override {
    return pass<int>("osPlatform", {}, [&] { return target_.osPlatform(); });
  }
  float osVersion() override {
    return pass<float>("osVersion", {}, [&] { return target_.osVersion(); });
  }
  std::vector<DriveInfo> drives() override {
    enter("drives", {});
    return target_.drives();
  }
  std::string appPath() override {
    return pass<std::string>("appPath", {}, [&] { return target_.appPath(); });
  }
  std::string appTitle() override {
    return pass<std::string>("appTitle", {}, [&] { return target_.appTitle(); });
  }
  AppVersion appVersion() override {
    enter("appVersion", {});
    return target_.appVersion();
  }

 private:
  // Logs the call; throws when a rule says so, returns the rule that
  // answers it instead of the target, or nullptr.
  const Rule* enter(const std::string& operation, const std::vector<std::string>& arguments);
  // The call answered by its rule, or made.
  template <class T, class Call>
  T pass(const std::string& operation, const std::vector<std::string>& arguments, Call call) {
    const Rule* rule = enter(operation, arguments);
    if (!rule) return call();
    if constexpr (std::is_same_v<T, std::string>) {
      return rule->returns;
    } else if constexpr (std::is_same_v<T, bool>) {
      return rule->returns == "1";
    } else if constexpr (std::is_same_v<T, float>) {
      return std::stof(rule->returns);
    } else {
      return static_cast<T>(std::stoll(rule->returns));
    }
  }
  static std::string text(std::uint64_t n) { return std::to_string(n); }
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
