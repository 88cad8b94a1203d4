#include "platform/linux_prefix.h"

#include <unistd.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/codepage.h"
#include "platform/windows_layout.h"
#include "platform/windows_names.h"

namespace fs = std::filesystem;

namespace zepo {

namespace {

std::string trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool isDrivePath(const std::string& s) {
  return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':' &&
         (s.size() == 2 || s[2] == '\\');
}

bool isUncPath(const std::string& s) {
  return s.size() > 2 && s[0] == '\\' && s[1] == '\\' && s[2] != '\\';
}

// A folder as Windows reports it: no closing backslash except for a root.
std::string withoutClosingBackslash(std::string s) {
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  if (s.size() == 2 && s[1] == ':') s += '\\';
  return s;
}

bool isNewPrefix(const fs::path& dir) {
  std::error_code ec;
  if (!fs::exists(dir, ec)) return true;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() != "platform.ini") return false;
  }
  return true;
}

}  // namespace

LinuxPrefix::LinuxPrefix(const std::string& dir)
    : dir_(fs::absolute(dir).lexically_normal().string()), paths_(dir_ + "/dosdevices", "") {
  while (dir_.size() > 1 && dir_.back() == '/') dir_.pop_back();
  bool fresh = isNewPrefix(dir_);
  std::string ini = file("platform.ini");
  std::error_code error;
  fs::file_status status = fs::status(ini, error);
  if (fs::is_directory(status)) {
    throw std::runtime_error(ini + ": is a folder, not the workstation's settings file");
  }
  if (fs::exists(status)) readSettings(ini);
  paths_.setCurrentFolder(programDirectory_);
  if (fresh) layOut();
}

void LinuxPrefix::exportToChildren() const {
  setenv("ZEPO_PREFIX", dir_.c_str(), 1);
}

std::string LinuxPrefix::label(char letter) const {
  auto it = labels_.find(static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  return it == labels_.end() ? "" : it->second;
}

std::string LinuxPrefix::hostsFolder() const {
  return zepo::hostsFolder(withoutClosingBackslash(windowsDirectory_), platform_);
}

std::string LinuxPrefix::desktopFolder() const {
  return allUsersDesktop(withoutClosingBackslash(windowsDirectory_), platform_, version_);
}

void LinuxPrefix::readSettings(const std::string& path) {
  std::string text;
  try {
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) throw std::ios_base::failure("");
  } catch (const std::ios_base::failure&) {
    throw std::runtime_error(path + ": cannot be read");
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

  std::string section;
  bool seen[4] = {};
  std::map<char, bool> labelSeen;
  int number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos =
        end == std::string::npos
            ? text.size()
            : end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    ++number;
    auto fail = [&](const std::string& why) {
      throw std::runtime_error(path + ":" + std::to_string(number) + ": " + why);
    };
    std::string line = trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      std::size_t close = line.find(']');
      if (close == std::string::npos) fail("a section name without its closing ']'");
      std::string rest = trim(line.substr(close + 1));
      if (!rest.empty() && rest[0] != ';') fail("text after the section name");
      section = upperName(trim(line.substr(1, close - 1)));
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) fail("neither [section], key=value nor a ';' comment: " + line);
    std::string key = trim(line.substr(0, eq));
    std::string value = line.substr(eq + 1);
    // A comment after a value begins with a blank and a ';'.
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == ';' && i > 0 && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
        value.erase(i);
        break;
      }
    }
    value = trim(value);
    if (key.empty()) fail("a value without a key name");
    if (section.empty()) fail("key " + key + " before any [section]");
    std::string upper = upperName(key);
    if (section == "SYSTEM") {
      static const char* const kKeys[] = {"PLATFORM", "VERSION", "WINDOWSDIRECTORY",
                                          "PROGRAMDIRECTORY"};
      int which = -1;
      for (int i = 0; i < 4; ++i) {
        if (upper == kKeys[i]) which = i;
      }
      if (which < 0) fail("unknown key " + key + " in [System]");
      if (seen[which]) continue;  // the first one counts, as in any INI file
      seen[which] = true;
      if (which == 0) {
        int n = 0;
        auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec == std::errc::result_out_of_range) fail("Platform is out of range: " + value);
        if (ec != std::errc() || ptr != value.data() + value.size() || n < 0) {
          fail("Platform is not a whole number: \"" + value + "\"");
        }
        platform_ = n;
      } else if (which == 1) {
        std::size_t digits = value.find_first_not_of("0123456789");
        bool ok = !value.empty() && digits != 0;
        if (ok && digits != std::string::npos) {
          ok = value[digits] == '.' && digits + 1 < value.size() &&
               value.find_first_not_of("0123456789", digits + 1) == std::string::npos;
        }
        if (!ok) fail("Version is not a number such as 5.1: \"" + value + "\"");
        float version = 0;
        auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), version,
                                         std::chars_format::fixed);
        if (ec != std::errc() || !std::isfinite(version)) {
          fail("Version is out of range: " + value);
        }
        version_ = version;
      } else if (which == 2) {
        if (!isDrivePath(value) || hasForbiddenCharacter(value.substr(2), false)) {
          fail("WindowsDirectory is not a folder on a drive such as C:\\WINDOWS: \"" + value +
               "\"");
        }
        // The installer asks for it with a buffer of 255 characters.
        if (characterCount(withoutClosingBackslash(value)) > 254) {
          fail(
              "WindowsDirectory is longer than 254 characters, the most that the installer "
              "can be told");
        }
        windowsDirectory_ = withoutClosingBackslash(value);
      } else {
        if (!(isDrivePath(value) || isUncPath(value)) ||
            hasForbiddenCharacter(value.substr(2), false)) {
          fail("ProgramDirectory is not a full folder path such as C:\\clientZEPO: \"" + value +
               "\"");
        }
        programDirectory_ = withoutClosingBackslash(value);
      }
    } else if (section == "LABELS") {
      bool letter = std::isalpha(static_cast<unsigned char>(key[0])) &&
                    (key.size() == 1 || (key.size() == 2 && key[1] == ':'));
      if (!letter) fail("a label's key is not a drive letter: " + key);
      char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
      if (labelSeen[drive]) continue;
      labelSeen[drive] = true;
      labels_[drive] = value;
    }
    // Other sections belong to others and are left alone.
  }
}

}  // namespace zepo
