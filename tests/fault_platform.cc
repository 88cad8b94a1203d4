#include "tests/fault_platform.h"

#include "platform/errors.h"

namespace zepo {

namespace {

std::string text(std::uint64_t n) {
  return std::to_string(n);
}

}  // namespace

std::vector<std::string> FaultPlatform::calls(const std::string& operation) const {
  std::vector<std::string> out;
  for (const std::string& entry : log) {
    if (entry.starts_with(operation + "(")) out.push_back(entry);
  }
  return out;
}

const FaultPlatform::Rule* FaultPlatform::enter(const std::string& operation,
                                                const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) joined += (joined.empty() ? "" : ", ") + argument;
  log.push_back(operation + "(" + joined + ")");
  if (onCall) onCall(log.back());
  for (const Rule& rule : rules) {
    if (rule.operation != operation || log.back().find(rule.match) == std::string::npos) continue;
    int n = ++matched_[&rule];
    if (rule.call != 0 && n != rule.call) continue;
    if (rule.error != 0) throw RuntimeError(rule.error);
    return &rule;
  }
  return nullptr;
}

std::string FaultPlatform::handle(std::uint64_t value) const {
  auto it = handles_.find(value);
  return it == handles_.end() ? text(value) : "#" + std::to_string(it->second);
}

void FaultPlatform::handOut(std::uint64_t value) {
  if (value != 0) handles_[value] = ++handedOut_;
}

std::string FaultPlatform::file(int fileNumber) const {
  auto it = files_.find(fileNumber);
  return it == files_.end() ? "#" + std::to_string(fileNumber) : it->second;
}

std::uint32_t FaultPlatform::GetPrivateProfileStringA(const std::string& section,
                                                      const std::string& key,
                                                      const std::string& defaultValue,
                                                      std::string& buffer, std::uint32_t size,
                                                      const std::string& fileName) {
  if (const Rule* r = enter("GetPrivateProfileStringA", {section, key, defaultValue, fileName})) {
    buffer = r->returns;
    return static_cast<std::uint32_t>(r->returns.size());
  }
  return target_.GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

bool FaultPlatform::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                               const std::optional<std::string>& value,
                                               const std::string& fileName) {
  if (const Rule* r = enter("WritePrivateProfileStringA",
                            {section, key, value ? *value : "(none)", fileName})) {
    return r->returns == "1";
  }
  return target_.WritePrivateProfileStringA(section, key, value, fileName);
}

std::uint32_t FaultPlatform::GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) {
  if (const Rule* r = enter("GetWindowsDirectoryA", {text(size)})) {
    buffer = r->returns;
    return static_cast<std::uint32_t>(r->returns.size());
  }
  return target_.GetWindowsDirectoryA(buffer, size);
}

int FaultPlatform::AddFontResourceA(const std::string& fileName) {
  if (const Rule* r = enter("AddFontResourceA", {fileName})) return std::stoi(r->returns);
  return target_.AddFontResourceA(fileName);
}

bool FaultPlatform::CreateProcessA(const std::string& commandLine, bool inheritHandles,
                                   std::uint32_t creationFlags, const StartupInfo& startupInfo,
                                   ProcessInformation& processInformation) {
  if (const Rule* r = enter("CreateProcessA", {commandLine, text(inheritHandles),
                                               text(creationFlags), text(startupInfo.cb)})) {
    return r->returns == "1";
  }
  bool started = target_.CreateProcessA(commandLine, inheritHandles, creationFlags, startupInfo,
                                        processInformation);
  handOut(processInformation.hProcess);
  handOut(processInformation.hThread);
  return started;
}

std::uint32_t FaultPlatform::WaitForSingleObject(ProcessHandle process, std::uint32_t ms) {
  if (const Rule* r = enter("WaitForSingleObject", {handle(process), text(ms)})) {
    return static_cast<std::uint32_t>(std::stoul(r->returns));
  }
  return target_.WaitForSingleObject(process, ms);
}

bool FaultPlatform::GetExitCodeProcess(ProcessHandle process, std::int32_t& exitCode) {
  if (const Rule* r = enter("GetExitCodeProcess", {handle(process)})) return r->returns == "1";
  return target_.GetExitCodeProcess(process, exitCode);
}

bool FaultPlatform::CloseHandle(ProcessHandle process) {
  if (const Rule* r = enter("CloseHandle", {handle(process)})) return r->returns == "1";
  return target_.CloseHandle(process);
}

std::int32_t FaultPlatform::RegCreateKeyExA(RegKey root, const std::string& subKey,
                                            std::uint32_t options, std::uint32_t access,
                                            RegKey& result, std::uint32_t& disposition) {
  if (const Rule* r =
          enter("RegCreateKeyExA", {handle(root), subKey, text(options), text(access)})) {
    return std::stoi(r->returns);
  }
  std::int32_t error = target_.RegCreateKeyExA(root, subKey, options, access, result, disposition);
  if (error == kErrorSuccess) handOut(result);
  return error;
}

std::int32_t FaultPlatform::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                          std::uint32_t access, RegKey& result) {
  if (const Rule* r = enter("RegOpenKeyExA", {handle(root), subKey, text(access)})) {
    return std::stoi(r->returns);
  }
  std::int32_t error = target_.RegOpenKeyExA(root, subKey, access, result);
  if (error == kErrorSuccess) handOut(result);
  return error;
}

std::int32_t FaultPlatform::RegSetValueExA(RegKey key, const std::string& valueName,
                                           std::uint32_t type, const std::string& data,
                                           std::uint32_t dataSize) {
  if (const Rule* r =
          enter("RegSetValueExA", {handle(key), valueName, text(type), data, text(dataSize)})) {
    return std::stoi(r->returns);
  }
  return target_.RegSetValueExA(key, valueName, type, data, dataSize);
}

std::int32_t FaultPlatform::RegDeleteValueA(RegKey key, const std::string& valueName) {
  if (const Rule* r = enter("RegDeleteValueA", {handle(key), valueName})) {
    return std::stoi(r->returns);
  }
  return target_.RegDeleteValueA(key, valueName);
}

std::int32_t FaultPlatform::RegCloseKey(RegKey key) {
  if (const Rule* r = enter("RegCloseKey", {handle(key)})) return std::stoi(r->returns);
  return target_.RegCloseKey(key);
}

std::string FaultPlatform::listFirst(const std::string& pathName, int attributes) {
  if (const Rule* r = enter("listFirst", {pathName, text(attributes)})) return r->returns;
  return target_.listFirst(pathName, attributes);
}

std::string FaultPlatform::listNext() {
  if (const Rule* r = enter("listNext", {})) return r->returns;
  return target_.listNext();
}

int FaultPlatform::getAttributes(const std::string& path) {
  if (const Rule* r = enter("getAttributes", {path})) return std::stoi(r->returns);
  return target_.getAttributes(path);
}

FileIdentity FaultPlatform::fileIdentity(const std::string& path) {
  if (enter("fileIdentity", {path})) return {};
  return target_.fileIdentity(path);
}

void FaultPlatform::makeFolder(const std::string& path) {
  if (!enter("makeFolder", {path})) target_.makeFolder(path);
}

void FaultPlatform::copyFile(const std::string& source, const std::string& destination) {
  if (!enter("copyFile", {source, destination})) target_.copyFile(source, destination);
}

void FaultPlatform::deleteFile(const std::string& path) {
  if (!enter("deleteFile", {path})) target_.deleteFile(path);
}

void FaultPlatform::renameFile(const std::string& oldPath, const std::string& newPath) {
  if (!enter("renameFile", {oldPath, newPath})) target_.renameFile(oldPath, newPath);
}

void FaultPlatform::openText(int fileNumber, const std::string& path, TextMode mode) {
  files_[fileNumber] = path;
  if (!enter("openText", {path, mode == TextMode::kInput ? "input" : "output"})) {
    target_.openText(fileNumber, path, mode);
  }
}

std::string FaultPlatform::readLine(int fileNumber) {
  if (const Rule* r = enter("readLine", {file(fileNumber)})) return r->returns;
  return target_.readLine(fileNumber);
}

bool FaultPlatform::endOfFile(int fileNumber) {
  if (const Rule* r = enter("endOfFile", {file(fileNumber)})) return r->returns == "1";
  return target_.endOfFile(fileNumber);
}

void FaultPlatform::writeLine(int fileNumber, const std::string& line) {
  if (!enter("writeLine", {file(fileNumber), line})) target_.writeLine(fileNumber, line);
}

void FaultPlatform::closeFile(int fileNumber) {
  if (!enter("closeFile", {file(fileNumber)})) target_.closeFile(fileNumber);
}

void FaultPlatform::openBinary(int fileNumber, const std::string& path) {
  files_[fileNumber] = path;
  if (!enter("openBinary", {path})) target_.openBinary(fileNumber, path);
}

std::int64_t FaultPlatform::fileLength(int fileNumber) {
  if (const Rule* r = enter("fileLength", {file(fileNumber)})) return std::stoll(r->returns);
  return target_.fileLength(fileNumber);
}

std::uint8_t FaultPlatform::readByte(int fileNumber) {
  if (const Rule* r = enter("readByte", {file(fileNumber)})) {
    return static_cast<std::uint8_t>(std::stoi(r->returns));
  }
  return target_.readByte(fileNumber);
}

void FaultPlatform::writeByte(int fileNumber, std::uint8_t byte) {
  if (!enter("writeByte", {file(fileNumber), text(byte)})) target_.writeByte(fileNumber, byte);
}

int FaultPlatform::osPlatform() {
  if (const Rule* r = enter("osPlatform", {})) return std::stoi(r->returns);
  return target_.osPlatform();
}

float FaultPlatform::osVersion() {
  if (const Rule* r = enter("osVersion", {})) return std::stof(r->returns);
  return target_.osVersion();
}

std::vector<DriveInfo> FaultPlatform::drives() {
  enter("drives", {});
  return target_.drives();
}

std::string FaultPlatform::appPath() {
  if (const Rule* r = enter("appPath", {})) return r->returns;
  return target_.appPath();
}

std::string FaultPlatform::appTitle() {
  if (const Rule* r = enter("appTitle", {})) return r->returns;
  return target_.appTitle();
}

AppVersion FaultPlatform::appVersion() {
  enter("appVersion", {});
  return target_.appVersion();
}

}  // namespace zepo
