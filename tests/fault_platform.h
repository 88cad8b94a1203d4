// A Platform for tests that forwards every call to a real one, writes the
// calls that tests watch or fail in a log ("renameFile(c:\a, c:\b)"), and
// fails or answers the calls that a rule picks:
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
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/forwarding_platform.h"

namespace zepo {

class FaultPlatform : public ForwardingPlatform {
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

  explicit FaultPlatform(Platform& target) : ForwardingPlatform(target) {}

  std::vector<Rule> rules;
  std::vector<std::string> log;
  // Called with each entry as it is logged, before the call is made.
  std::function<void(const std::string&)> onCall;

  // The logged calls of one operation, in order.
  std::vector<std::string> calls(const std::string& operation) const;
  // How many process handles and registry keys the target handed out.
  int handedOut() const { return handedOut_; }

  std::uint32_t GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) override {
    return filled(enter("GetWindowsDirectoryA", {show(size)}), buffer,
                  [&] { return target().GetWindowsDirectoryA(buffer, size); });
  }
  int AddFontResourceA(const std::string& name) override {
    return fwd("AddFontResourceA", &Platform::AddFontResourceA, name);
  }
  bool CreateProcessA(const std::string& commandLine, bool inherit, std::uint32_t flags,
                      const StartupInfo& startup, ProcessInformation& info) override {
    return pass<bool>(
        "CreateProcessA", {commandLine, show(inherit), show(flags), show(startup.cb)}, [&] {
          bool started = target().CreateProcessA(commandLine, inherit, flags, startup, info);
          handOut(info.hProcess);
          handOut(info.hThread);
          return started;
        });
  }
  std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t ms) override {
    return fwd("WaitForSingleObject", &Platform::WaitForSingleObject, Handle{process}, ms);
  }
  bool GetExitCodeProcess(ProcessHandle process, std::int32_t& exitCode) override {
    return pass<bool>("GetExitCodeProcess", {handle(process)},
                      [&] { return target().GetExitCodeProcess(process, exitCode); });
  }
  bool CloseHandle(ProcessHandle process) override {
    return fwd("CloseHandle", &Platform::CloseHandle, Handle{process});
  }
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override {
    return pass<std::int32_t>(
        "RegCreateKeyExA", {handle(root), subKey, show(options), show(access)}, [&] {
          return opened(
              target().RegCreateKeyExA(root, subKey, options, access, result, disposition), result);
        });
  }
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override {
    return pass<std::int32_t>("RegOpenKeyExA", {handle(root), subKey, show(access)}, [&] {
      return opened(target().RegOpenKeyExA(root, subKey, access, result), result);
    });
  }
  std::int32_t RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                              const std::string& data, std::uint32_t size) override {
    return fwd("RegSetValueExA", &Platform::RegSetValueExA, Handle{key}, name, type, data, size);
  }
  std::int32_t RegCloseKey(RegKey key) override {
    return fwd("RegCloseKey", &Platform::RegCloseKey, Handle{key});
  }

  void copyFile(const std::string& source, const std::string& destination) override {
    fwd("copyFile", &Platform::copyFile, source, destination);
  }
  void deleteFile(const std::string& path) override {
    fwd("deleteFile", &Platform::deleteFile, path);
  }
  void renameFile(const std::string& oldPath, const std::string& newPath) override {
    fwd("renameFile", &Platform::renameFile, oldPath, newPath);
  }
  void openText(int n, const std::string& path, TextMode mode) override {
    files_[n] = path;
    pass<void>("openText", {path, mode == TextMode::kInput ? "input" : "output"},
               [&] { target().openText(n, path, mode); });
  }
  std::string readLine(int n) override { return fwd("readLine", &Platform::readLine, File{n}); }
  void writeLine(int n, const std::string& line) override {
    fwd("writeLine", &Platform::writeLine, File{n}, line);
  }
  int osPlatform() override { return fwd("osPlatform", &Platform::osPlatform); }
  float osVersion() override { return fwd("osVersion", &Platform::osVersion); }
  std::string appPath() override { return fwd("appPath", &Platform::appPath); }

 private:
  // An argument logged as what it stands for.
  struct File {
    int n;
    operator int() const { return n; }
  };
  struct Handle {
    std::uint64_t value;
    template <class T>
    operator T() const {
      return static_cast<T>(value);
    }
  };
  std::string show(const std::string& text) const { return text; }
  std::string show(File f) const { return file(f.n); }
  std::string show(Handle h) const { return handle(h.value); }
  template <class N>
  requires std::is_arithmetic_v<N> std::string show(N n)
  const { return std::to_string(n); }

  // Logs the call; throws when a rule says so, returns the rule that
  // answers it instead of the target, or nullptr.
  const Rule* enter(const std::string& operation, const std::vector<std::string>& arguments);
  // The call answered by its rule (its text read as the result), or made.
  template <class T, class Call>
  T pass(const std::string& operation, const std::vector<std::string>& arguments, Call call) {
    const Rule* rule = enter(operation, arguments);
    if (!rule) return call();
    if constexpr (std::is_same_v<T, std::string>) {
      return rule->returns;
    } else if constexpr (std::is_same_v<T, bool>) {
      return rule->returns == "1";
    } else if constexpr (std::is_arithmetic_v<T>) {
      return static_cast<T>(std::stod(rule->returns));
    } else {
      return T();
    }
  }
  // A call whose arguments are logged as they are passed.
  template <class R, class... P, class... A>
  R fwd(const std::string& operation, R (Platform::*method)(P...), const A&... arguments) {
    return pass<R>(operation, {show(arguments)...},
                   [&] { return (target().*method)(arguments...); });
  }
  // A text-filling call answered by its rule.
  template <class Call>
  std::uint32_t filled(const Rule* rule, std::string& buffer, Call call) {
    if (!rule) return call();
    buffer = rule->returns;
    return static_cast<std::uint32_t>(buffer.size());
  }
  std::int32_t opened(std::int32_t error, const RegKey& key) {
    if (error == kErrorSuccess) handOut(key);
    return error;
  }
  std::string handle(std::uint64_t value) const;
  void handOut(std::uint64_t value);
  std::string file(int fileNumber) const;

  std::map<const Rule*, int> matched_;
  int handedOut_ = 0;
  std::map<std::uint64_t, int> handles_;  // handed out -> n
  std::map<int, std::string> files_;      // file number -> path
};

}  // namespace zepo
