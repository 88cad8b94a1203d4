#include "platform/registry_store.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/ansi_case.h"

namespace zepo {
namespace {

constexpr std::array<std::string_view, 5> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",        "HKEY_CURRENT_CONFIG",
};

std::optional<std::string_view> rootName(std::string_view name) {
  for (std::string_view root : kRootNames) {
    if (ansiEqualIgnoringCase(root, name)) return root;
  }
  return std::nullopt;
}

std::vector<std::string_view> splitPath(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t stop = std::min(path.find('\\', pos), path.size());
    if (stop > pos) names.push_back(path.substr(pos, stop - pos));
    pos = stop + 1;
  }
  return names;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t stop = text.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) stop = text.size();
    lines.push_back(text.substr(pos, stop - pos));
    pos = stop + 1;
    if (stop < text.size() && text[stop] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Data of another type than string: dword:XXXXXXXX, hex:xx,xx... or
// hex(N):xx,xx...
bool isTypedData(std::string_view text) {
  if (text.starts_with("dword:")) {
    std::string_view digits = text.substr(6);
    return !digits.empty() && digits.size() <= 8 &&
           std::all_of(digits.begin(), digits.end(), isHexDigit);
  }
  if (!text.starts_with("hex")) return false;
  text.remove_prefix(3);
  if (text.starts_with("(")) {
    std::size_t close = text.find(')');
    if (close == std::string_view::npos || close == 1) return false;
    if (!std::all_of(text.begin() + 1, text.begin() + close, isHexDigit)) return false;
    text.remove_prefix(close + 1);
  }
  if (!text.starts_with(":")) return false;
  text.remove_prefix(1);
  // Bytes: two hex digits each, separated by commas (blanks allowed).
  while (!text.empty()) {
    std::size_t comma = text.find(',');
    std::string_view byte = trimmed(text.substr(0, comma));
    if (byte.size() != 2 || !isHexDigit(byte[0]) || !isHexDigit(byte[1])) return false;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return true;
}

std::string quotedText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace

bool RegistryStore::PathOrder::operator()(const std::string& a, const std::string& b) const {
  // The separator ranks below every character, so "A\B" comes before "A B".
  auto rank = [](char c) { return c == '\\' ? 0u : static_cast<unsigned char>(c) + 1u; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return rank(x) < rank(y); });
}

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {
  for (std::string_view root : kRootNames) {
    keys_[std::string(root)] = Key{std::string(root), {}};
  }
  load();
}

std::optional<std::string> RegistryStore::normalPath(std::string_view path) {
  std::vector<std::string_view> names = splitPath(path);
  if (names.empty()) return std::nullopt;
  std::optional<std::string_view> root = rootName(names.front());
  if (!root) return std::nullopt;
  std::string normal(*root);
  for (std::size_t i = 1; i < names.size(); ++i) {
    normal += '\\';
    normal += names[i];
  }
  return normal;
}

RegistryStore::Key* RegistryStore::addKey(Keys& keys, std::string_view normal, bool* created) {
  std::vector<std::string_view> names = splitPath(normal);
  Key* key = &keys.at(std::string(names.front()));
  if (created) *created = false;
  for (std::size_t i = 1; i < names.size(); ++i) {
    std::string path = key->path + "\\" + std::string(names[i]);
    auto [it, inserted] = keys.try_emplace(ansiUpper(path), Key{path, {}});
    if (inserted && created) *created = true;
    key = &it->second;
  }
  return key;
}

std::optional<std::string> RegistryStore::keyPath(std::string_view path) const {
  std::optional<std::string> normal = normalPath(path);
  if (!normal) return std::nullopt;
  auto it = keys_.find(ansiUpper(*normal));
  if (it == keys_.end()) return std::nullopt;
  return it->second.path;
}

RegistryStore::Result RegistryStore::createKey(std::string_view path, bool* created) {
  std::optional<std::string> normal = normalPath(path);
  if (!normal) return Result::kNotFound;
  bool isNew = false;
  Keys next = keys_;
  addKey(next, *normal, &isNew);
  if (created) *created = isNew;
  if (!isNew) return Result::kDone;
  if (!save(next)) return Result::kNotSaved;
  keys_ = std::move(next);
  return Result::kDone;
}

std::optional<std::string> RegistryStore::stringValue(std::string_view path,
                                                      std::string_view name) const {
  std::optional<std::string> normal = normalPath(path);
  if (!normal) return std::nullopt;
  auto key = keys_.find(ansiUpper(*normal));
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.values.find(ansiUpper(name));
  if (value == key->second.values.end() || !value->second.isString) return std::nullopt;
  return value->second.data;
}

RegistryStore::Result RegistryStore::setString(std::string_view path, std::string_view name,
                                               std::string_view data) {
  std::optional<std::string> normal = normalPath(path);
  if (!normal) return Result::kNotFound;
  Keys next = keys_;
  auto key = next.find(ansiUpper(*normal));
  if (key == next.end()) return Result::kNotFound;
  auto [value, inserted] =
      key->second.values.try_emplace(ansiUpper(name), Value{std::string(name), "", true});
  if (!inserted && value->second.isString && value->second.data == data) return Result::kDone;
  value->second.data = data;
  value->second.isString = true;
  if (!save(next)) return Result::kNotSaved;
  keys_ = std::move(next);
  return Result::kDone;
}

RegistryStore::Result RegistryStore::deleteValue(std::string_view path, std::string_view name) {
  std::optional<std::string> normal = normalPath(path);
  if (!normal) return Result::kNotFound;
  Keys next = keys_;
  auto key = next.find(ansiUpper(*normal));
  if (key == next.end() || key->second.values.erase(ansiUpper(name)) == 0) {
    return Result::kNotFound;
  }
  if (!save(next)) return Result::kNotSaved;
  keys_ = std::move(next);
  return Result::kDone;
}

void RegistryStore::load() {
  std::error_code error;
  if (!std::filesystem::exists(file_, error)) return;
  std::ifstream in(file_, std::ios::binary);
  if (!in) throw std::runtime_error(file_.string() + ": cannot be read");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (text.empty()) return;

  std::vector<std::string_view> lines = splitLines(text);
  std::size_t number = 0;
  auto fail = [&](const std::string& problem) {
    throw std::runtime_error(file_.string() + ":" + std::to_string(number) + ": " + problem);
  };
  number = 1;
  if (trimmed(lines.front()) != "REGEDIT4") fail("not a REGEDIT4 file (first line)");

  // A quoted text starting at `pos`, with its escapes resolved; `pos` ends
  // after the closing quote.
  auto readQuoted = [&](std::string_view line, std::size_t& pos) {
    std::string out;
    ++pos;
    while (true) {
      if (pos >= line.size()) fail("missing closing quote");
      char c = line[pos++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos >= line.size()) fail("missing closing quote");
      char escaped = line[pos++];
      switch (escaped) {
        case '\\':
        case '"':
          out += escaped;
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        default:
          fail(std::string("unknown escape \\") + escaped);
      }
    }
  };

  Key* current = nullptr;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    number = i + 1;
    std::string_view line = trimmed(lines[i]);
    if (line.empty() || line.front() == ';') continue;

    if (line.front() == '[') {
      if (line.back() != ']') fail("key line without closing ']'");
      std::string_view path = line.substr(1, line.size() - 2);
      if (path.starts_with("-")) fail("key deletions have no place in the registry file");
      if (path.empty() || path.front() == '\\' || path.back() == '\\' ||
          path.find("\\\\") != std::string_view::npos) {
        fail("empty key name in [" + std::string(path) + "]");
      }
      std::optional<std::string> normal = normalPath(path);
      if (!normal) fail("unknown root key in [" + std::string(path) + "]");
      current = addKey(keys_, *normal, nullptr);
      continue;
    }

    if (line.front() != '"' && line.front() != '@') fail("unexpected text");
    if (!current) fail("value outside a key");
    std::size_t pos = 0;
    std::string name;
    if (line.front() == '@') {
      pos = 1;
    } else {
      name = readQuoted(line, pos);
    }
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') fail("missing '=' after the value name");
    ++pos;
    while (pos < line.size() && isBlank(line[pos])) ++pos;

    Value value{name, "", true};
    if (pos < line.size() && line[pos] == '"') {
      value.data = readQuoted(line, pos);
      if (!trimmed(line.substr(pos)).empty()) fail("unexpected text after the value");
    } else {
      std::string data(trimmed(line.substr(pos)));
      // Long binary data goes on over lines that end with a backslash.
      while (!data.empty() && data.back() == '\\' && i + 1 < lines.size()) {
        data.pop_back();
        data += trimmed(lines[++i]);
      }
      if (data == "-") fail("value deletions have no place in the registry file");
      if (!isTypedData(data)) fail("value data neither quoted text nor dword:/hex: data");
      value.data = std::move(data);
      value.isString = false;
    }
    current->values[ansiUpper(name)] = std::move(value);
  }
}

bool RegistryStore::save(const Keys& keys) const {
  std::string text = "REGEDIT4\r\n";
  for (const auto& [upper, key] : keys) {
    if (key.values.empty() && key.path.find('\\') == std::string::npos) continue;
    text += "\r\n[" + key.path + "]\r\n";
    for (const auto& [upperName, value] : key.values) {
      text += value.name.empty() ? std::string("@") : quotedText(value.name);
      text += '=';
      text += value.isString ? quotedText(value.data) : value.data;
      text += "\r\n";
    }
  }
  text += "\r\n";

  std::filesystem::path temp = file_;
  temp += ".tmp";
  std::error_code error;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temp, error);
      return false;
    }
  }
  std::filesystem::rename(temp, file_, error);
  if (error) {
    std::filesystem::remove(temp, error);
    return false;
  }
  return true;
}

}  // namespace zepo
