// The INI-file functions of the Linux platform: the Windows path resolves
// inside the prefix, the file's bytes go through the INI engine, and names
// and values cross as Windows-1252 text.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_replacement.h"
#include "platform/ini_file.h"
#include "platform/linux_platform.h"

namespace zepo {
namespace {

// A name or value as the file holds it: Windows-1252 bytes, or for a
// Unicode file the same characters in UTF-8 (what Windows' own conversion of
// the 8-bit text gives).
std::string inFileEncoding(const IniFile& ini, const std::string& utf8) {
  std::string ansi = toCodePage(utf8);
  return ini.isUnicode() ? fromCodePage(ansi) : ansi;
}

// Writes `text` and a '\0' over the first `characters` + 1 characters of
// `buffer`, leaving the rest of it as it was.
void fillBuffer(std::string& buffer, const std::string& text, std::size_t characters) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n <= characters && pos < buffer.size(); ++n) {
    ++pos;
    while (pos < buffer.size() && (static_cast<unsigned char>(buffer[pos]) & 0xC0) == 0x80) ++pos;
  }
  buffer = text + '\0' + buffer.substr(pos);
}

// The file's contents; nullopt when it cannot be read (or is missing).
std::optional<std::string> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

std::uint32_t LinuxPlatform::GetPrivateProfileStringA(const std::string& section,
                                                      const std::string& key,
                                                      const std::string& defaultValue,
                                                      std::string& buffer, std::uint32_t size,
                                                      const std::string& fileName) {
  std::string bytes;
  try {
    bytes = fileBytes(hostPath(fileName)).value_or("");
  } catch (const RuntimeError&) {
    // A path that leads nowhere reads as a missing file: Windows functions
    // never raise errors.
  }
  IniFile ini(std::move(bytes));
  std::optional<std::string> value =
      ini.read(inFileEncoding(ini, section), inFileEncoding(ini, key));
  if (value && ini.isUnicode()) value = toCodePage(*value);
  const std::string result = profileResult(value, toCodePage(defaultValue), size);
  if (size == 0) return 0;
  fillBuffer(buffer, fromCodePage(result), result.size());
  return static_cast<std::uint32_t>(result.size());
}

bool LinuxPlatform::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                               const std::optional<std::string>& value,
                                               const std::string& fileName) {
  namespace fs = std::filesystem;
  std::string path;
  try {
    path = hostPath(fileName);
  } catch (const RuntimeError&) {
    return false;
  }
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  const bool exists = fs::exists(status);
  if (exists && !fs::is_regular_file(status)) return false;
  // A read-only file is one without write permission for its owner; that
  // holds for root too.
  if (exists && (status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;

  std::optional<std::string> bytes = exists ? fileBytes(path) : std::string();
  if (!bytes) return false;
  IniFile ini(std::move(*bytes));
  std::optional<std::string> text;
  if (value) text = inFileEncoding(ini, *value);
  if (!ini.write(inFileEncoding(ini, section), inFileEncoding(ini, key), text)) return true;
  // Never truncated and written in place: a kill or a full disk half-way
  // leaves the old file as it was.
  return replaceFile(path, ini.bytes());
}

}  // namespace zepo
