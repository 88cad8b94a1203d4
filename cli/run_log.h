// The log of an unattended run: one line per step with its time, appended
// to a file, so that an administrator sees afterwards what a run changed.
// A Platform wrapper logs every file, folder, INI value and registry value
// that the procedures write, and every command they start.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "platform/forwarding_platform.h"

namespace zepo::cli {

class RunLog {
 public:
  // No file: the log takes nothing. Otherwise the file is opened for
  // appending; ok() tells whether that worked.
  explicit RunLog(const std::string& path);
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;
  ~RunLog();

  bool ok() const { return path_.empty() || file_ != nullptr; }
  // Appends "YYYY-MM-DD HH:MM:SS text", the local time of now.
  void add(const std::string& text);

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

class LoggingPlatform : public ForwardingPlatform {
 public:
  LoggingPlatform(Platform& target, RunLog& log) : ForwardingPlatform(target), log_(log) {}

  bool WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::optional<std::string>& value,
                                  const std::string& fileName) override;
  int AddFontResourceA(const std::string& fileName) override;
  bool CreateProcessA(const std::string& commandLine, bool inheritHandles,
                      std::uint32_t creationFlags, const StartupInfo& startupInfo,
                      ProcessInformation& processInformation) override;
  std::int32_t RegCreateKeyExA(RegKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegKey& result,
                               std::uint32_t& disposition) override;
  std::int32_t RegOpenKeyExA(RegKey root, const std::string& subKey, std::uint32_t access,
                             RegKey& result) override;
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                              const std::string& data, std::uint32_t dataSize) override;
  std::int32_t RegDeleteValueA(RegKey key, const std::string& valueName) override;
  std::int32_t RegCloseKey(RegKey key) override;
  void makeFolder(const std::string& path) override;
  void copyFile(const std::string& source, const std::string& destination) override;
  void deleteFile(const std::string& path) override;
  void renameFile(const std::string& oldPath, const std::string& newPath) override;
  void openText(int fileNumber, const std::string& path, TextMode mode) override;
  void openBinary(int fileNumber, const std::string& path) override;
  void writeByte(int fileNumber, std::uint8_t byte) override;

 private:
  std::string keyName(RegKey key) const;

  RunLog& log_;
  // The names of the open registry keys, for the values written under them.
  std::map<RegKey, std::string> keys_;
  // The binary files opened and not yet written to, by file number: a
  // write is logged once per opening.
  std::map<int, std::string> binaryFiles_;
};

}  // namespace zepo::cli
