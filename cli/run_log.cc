#include "cli/run_log.h"

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/registry_store.h"

namespace zepo::cli {

namespace {

// RegCreateKeyEx's disposition for a key that it made.
constexpr std::uint32_t kRegCreatedNewKey = 1;

std::FILE* openForAppending(const std::string& path) {
#ifdef _WIN32
  // The path comes as UTF-8; Windows opens it by its wide form.
  int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), n);
  return _wfopen(wide.c_str(), L"ab");
#else
  return std::fopen(path.c_str(), "ab");
#endif
}

// A value as text: a string without its closing zero byte, anything else
// as its bytes in hexadecimal.
std::string valueText(std::uint32_t type, const std::string& data, std::uint32_t dataSize) {
  std::string bytes = data.substr(0, dataSize);
  if (type == kRegSz) {
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return "\"" + bytes + "\"";
  }
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    if (!hex.empty()) hex += ' ';
    hex += kHex[c >> 4];
    hex += kHex[c & 15];
  }
  return hex;
}

}  // namespace

RunLog::RunLog(const std::string& path) : path_(path) {
  if (!path.empty()) file_ = openForAppending(path);
}

RunLog::~RunLog() {
  if (file_ != nullptr) std::fclose(file_);
}

void RunLog::add(const std::string& text) {
  if (file_ == nullptr) return;
  char stamp[32];
#ifdef _WIN32
  // The system's own clock: the C runtime's 64-bit time functions are not
  // in every Windows XP's runtime library.
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
#else
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
#endif
  std::fprintf(file_, "%s %s\n", stamp, text.c_str());
  // Each line reaches the file at once: a run that ends abruptly still
  // shows what it did.
  std::fflush(file_);
}

std::string LoggingPlatform::keyName(RegKey key) const {
  if (const char* root = predefinedKeyName(key)) return root;
  auto known = keys_.find(key);
  return known != keys_.end() ? known->second : "?";
}

bool LoggingPlatform::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                                 const std::optional<std::string>& value,
                                                 const std::string& fileName) {
  bool done = ForwardingPlatform::WritePrivateProfileStringA(section, key, value, fileName);
  log_.add((value ? "valore INI scritto: " : "valore INI tolto: ") + fileName + " [" + section +
           "] " + key + (value ? "=" + *value : "") + (done ? "" : " (non riuscito)"));
  return done;
}

int LoggingPlatform::AddFontResourceA(const std::string& fileName) {
  log_.add("carattere reso disponibile: " + fileName);
  return ForwardingPlatform::AddFontResourceA(fileName);
}

bool LoggingPlatform::CreateProcessA(const std::string& commandLine, bool inheritHandles,
                                     std::uint32_t creationFlags, const StartupInfo& startupInfo,
                                     ProcessInformation& processInformation) {
  log_.add("comando: " + commandLine);
  return ForwardingPlatform::CreateProcessA(commandLine, inheritHandles, creationFlags, startupInfo,
                                            processInformation);
}

std::int32_t LoggingPlatform::RegCreateKeyExA(RegKey root, const std::string& subKey,
                                              std::uint32_t options, std::uint32_t access,
                                              RegKey& result, std::uint32_t& disposition) {
  std::int32_t status =
      ForwardingPlatform::RegCreateKeyExA(root, subKey, options, access, result, disposition);
  if (status == kErrorSuccess) {
    keys_[result] = keyName(root) + "\\" + subKey;
    if (disposition == kRegCreatedNewKey) log_.add("chiave di registro creata: " + keys_[result]);
  }
  return status;
}

std::int32_t LoggingPlatform::RegOpenKeyExA(RegKey root, const std::string& subKey,
                                            std::uint32_t access, RegKey& result) {
  std::int32_t status = ForwardingPlatform::RegOpenKeyExA(root, subKey, access, result);
  if (status == kErrorSuccess) keys_[result] = keyName(root) + "\\" + subKey;
  return status;
}

std::int32_t LoggingPlatform::RegSetValueExA(RegKey key, const std::string& valueName,
                                             std::uint32_t type, const std::string& data,
                                             std::uint32_t dataSize) {
  std::int32_t status = ForwardingPlatform::RegSetValueExA(key, valueName, type, data, dataSize);
  log_.add("valore di registro scritto: " + keyName(key) + "\\" + valueName + " = " +
           valueText(type, data, dataSize) +
           (status == kErrorSuccess ? "" : " (errore " + std::to_string(status) + ")"));
  return status;
}

std::int32_t LoggingPlatform::RegDeleteValueA(RegKey key, const std::string& valueName) {
  std::int32_t status = ForwardingPlatform::RegDeleteValueA(key, valueName);
  if (status == kErrorSuccess)
    log_.add("valore di registro tolto: " + keyName(key) + "\\" + valueName);
  return status;
}

std::int32_t LoggingPlatform::RegCloseKey(RegKey key) {
  keys_.erase(key);
  return ForwardingPlatform::RegCloseKey(key);
}

void LoggingPlatform::makeFolder(const std::string& path) {
  ForwardingPlatform::makeFolder(path);
  log_.add("cartella creata: " + path);
}

void LoggingPlatform::copyFile(const std::string& source, const std::string& destination) {
  ForwardingPlatform::copyFile(source, destination);
  log_.add("file copiato: " + source + " -> " + destination);
}

void LoggingPlatform::deleteFile(const std::string& path) {
  ForwardingPlatform::deleteFile(path);
  log_.add("file cancellato: " + path);
}

void LoggingPlatform::renameFile(const std::string& oldPath, const std::string& newPath) {
  ForwardingPlatform::renameFile(oldPath, newPath);
  log_.add("file rinominato: " + oldPath + " -> " + newPath);
}

void LoggingPlatform::openText(int fileNumber, const std::string& path, TextMode mode) {
  ForwardingPlatform::openText(fileNumber, path, mode);
  if (mode == TextMode::kOutput) log_.add("file scritto: " + path);
}

void LoggingPlatform::openBinary(int fileNumber, const std::string& path) {
  ForwardingPlatform::openBinary(fileNumber, path);
  binaryFiles_[fileNumber] = path;
}

void LoggingPlatform::writeByte(int fileNumber, std::uint8_t byte) {
  ForwardingPlatform::writeByte(fileNumber, byte);
  auto first = binaryFiles_.find(fileNumber);
  if (first != binaryFiles_.end()) {
    log_.add("file scritto: " + first->second);
    binaryFiles_.erase(first);
  }
}

}  // namespace zepo::cli
