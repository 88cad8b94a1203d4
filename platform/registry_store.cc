#include "platform/registry_store.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

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

// The root keys in the order of their blocks.
constexpr std::array<std::size_t, 5> kRootOrder = {0, 4, 1, 2, 3};

}  // namespace

RegistryTree::RegistryTree() {
  for (std::string_view root : kRootNames)
    keys_.push_back(Key{std::string(root), 0, {}, {}, false});
}

std::optional<std::size_t> RegistryTree::find(std::string_view path) const {
  std::vector<std::string_view> names = splitPath(path);
  if (names.empty()) return std::nullopt;
  std::optional<std::size_t> key;
  for (std::size_t i = 0; i < kRootNames.size(); ++i) {
    if (ansiEqualIgnoringCase(kRootNames[i], names.front())) key = i;
  }
  for (std::size_t i = 1; key && i < names.size(); ++i) {
    const auto& subKeys = keys_[*key].subKeys;
    auto it = subKeys.find(ansiUpper(names[i]));
    key = it == subKeys.end() ? std::nullopt : std::optional<std::size_t>(it->second);
  }
  return key;
}

std::size_t RegistryTree::make(std::string_view path, bool* made) {
  std::vector<std::string_view> names = splitPath(path);
  std::size_t key = 0;
  for (std::size_t i = 0; i < kRootNames.size(); ++i) {
    if (ansiEqualIgnoringCase(kRootNames[i], names.front())) key = i;
  }
  if (made) *made = false;
  for (std::size_t i = 1; i < names.size(); ++i) {
    auto [it, inserted] = keys_[key].subKeys.try_emplace(ansiUpper(names[i]), keys_.size());
    if (inserted) {
      keys_.push_back(Key{std::string(names[i]), key, {}, {}, false});
      if (made) *made = true;
    }
    key = it->second;
  }
  return key;
}

std::optional<std::string> RegistryTree::keyPath(std::string_view path) const {
  std::optional<std::size_t> key = find(path);
  if (!key) return std::nullopt;
  std::vector<std::size_t> chain;
  for (std::size_t k = *key; k >= kRootNames.size(); k = keys_[k].parent) chain.push_back(k);
  std::string full = keys_[chain.empty() ? *key : keys_[chain.back()].parent].name;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    full += '\\';
    full += keys_[*it].name;
  }
  return full;
}

RegistryTree::Change RegistryTree::createKey(std::string_view path) {
  std::vector<std::string_view> names = splitPath(path);
  if (names.empty() || !rootName(names.front())) return Change::kNotFound;
  bool made = false;
  std::size_t key = make(path, &made);
  if (!made) return Change::kNone;
  keys_[key].named = true;
  return Change::kMade;
}

std::optional<std::string> RegistryTree::stringValue(std::string_view path,
                                                     std::string_view name) const {
  std::optional<std::size_t> key = find(path);
  if (!key) return std::nullopt;
  const auto& values = keys_[*key].values;
  auto value = values.find(ansiUpper(name));
  if (value == values.end() || !value->second.isString) return std::nullopt;
  return value->second.data;
}

RegistryTree::Change RegistryTree::setString(std::string_view path, std::string_view name,
                                             std::string_view data) {
  std::optional<std::size_t> key = find(path);
  if (!key) return Change::kNotFound;
  auto [value, inserted] =
      keys_[*key].values.try_emplace(ansiUpper(name), Value{std::string(name), "", true});
  if (!inserted && value->second.isString && value->second.data == data) return Change::kNone;
  value->second.data = data;
  value->second.isString = true;
  // Written with its values from now on, it keeps its block without them.
  keys_[*key].named = true;
  return Change::kMade;
}

RegistryTree::Change RegistryTree::deleteValue(std::string_view path, std::string_view name) {
  std::optional<std::size_t> key = find(path);
  if (!key || keys_[*key].values.erase(ansiUpper(name)) == 0) return Change::kNotFound;
  return Change::kMade;
}

RegistryTree RegistryTree::parse(std::string_view text, const std::string& name) {
  RegistryTree tree;
  if (text.empty()) return tree;
  std::vector<std::string_view> lines = splitLines(text);
  std::size_t number = 0;
  auto fail = [&](const std::string& problem) {
    throw std::runtime_error(name + ":" + std::to_string(number) + ": " + problem);
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

  std::optional<std::size_t> current;
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
      if (!rootName(path.substr(0, path.find('\\')))) {
        fail("unknown root key in [" + std::string(path) + "]");
      }
      current = tree.make(path, nullptr);
      if (*current >= kRootNames.size()) tree.keys_[*current].named = true;
      continue;
    }

    if (line.front() != '"' && line.front() != '@') fail("unexpected text");
    if (!current) fail("value outside a key");
    std::size_t pos = 0;
    std::string valueName;
    if (line.front() == '@') {
      pos = 1;
    } else {
      valueName = readQuoted(line, pos);
    }
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') fail("missing '=' after the value name");
    ++pos;
    while (pos < line.size() && isBlank(line[pos])) ++pos;

    Value value{valueName, "", true};
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
    tree.keys_[*current].values[ansiUpper(valueName)] = std::move(value);
  }
  return tree;
}

std::string RegistryTree::text() const {
  std::string out = "REGEDIT4\r\n";
  // A walk through the tree with the path of the key it is in, each name
  // added once: the text grows with the registry, not with its depth.
  struct Visit {
    std::size_t key;
    std::map<std::string, std::size_t>::const_iterator next;
    std::size_t pathLength;  // the path's length before this key's name
  };
  std::vector<Visit> stack;
  std::string path;
  auto enter = [&](std::size_t k) {
    const Key& key = keys_[k];
    stack.push_back({k, key.subKeys.begin(), path.size()});
    if (k >= kRootNames.size()) path += '\\';
    path += key.name;
    if (key.values.empty() && (!key.named || k < kRootNames.size())) return;
    out += "\r\n[";
    out += path;
    out += "]\r\n";
    for (const auto& [upper, value] : key.values) {
      out += value.name.empty() ? std::string("@") : quotedText(value.name);
      out += '=';
      out += value.isString ? quotedText(value.data) : value.data;
      out += "\r\n";
    }
  };
  for (std::size_t root : kRootOrder) {
    enter(root);
    while (!stack.empty()) {
      Visit& visit = stack.back();
      if (visit.next == keys_[visit.key].subKeys.end()) {
        path.resize(visit.pathLength);
        stack.pop_back();
        continue;
      }
      std::size_t sub = (visit.next++)->second;
      enter(sub);
    }
  }
  return out + "\r\n";
}

const char* predefinedKeyName(RegKey key) {
  switch (key) {
    case kHkeyClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser:
      return "HKEY_CURRENT_USER";
    case kHkeyLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case kHkeyUsers:
      return "HKEY_USERS";
    case kHkeyCurrentConfig:
      return "HKEY_CURRENT_CONFIG";
    default:
      return nullptr;
  }
}

}  // namespace zepo
