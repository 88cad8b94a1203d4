#include "platform/ini_file.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/ansi_case.h"

namespace zepo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

// One line of the file: [begin, contentEnd) is its text, [contentEnd, end)
// its line end (empty for a last line without one).
struct Line {
  std::size_t begin;
  std::size_t contentEnd;
  std::size_t end;
};

std::vector<Line> splitLines(std::string_view bytes, std::size_t start) {
  std::vector<Line> lines;
  std::size_t pos = start;
  while (pos < bytes.size()) {
    std::size_t stop = bytes.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) {
      lines.push_back({pos, bytes.size(), bytes.size()});
      break;
    }
    std::size_t next = stop + 1;
    if (bytes[stop] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    lines.push_back({pos, stop, next});
    pos = next;
  }
  return lines;
}

enum class Kind { kBlank, kHeading, kKey };

struct ParsedLine {
  Kind kind = Kind::kBlank;
  std::string_view name;                  // section or key name, trimmed
  std::optional<std::string_view> value;  // a key's value, trimmed; none without '='
};

ParsedLine parseLine(std::string_view text) {
  ParsedLine parsed;
  text = trimmed(text);
  if (text.empty()) return parsed;
  if (text.front() == '[') {
    std::size_t close = text.find(']');
    if (close != std::string_view::npos) {
      parsed.kind = Kind::kHeading;
      parsed.name = trimmed(text.substr(1, close - 1));
      return parsed;
    }
  }
  parsed.kind = Kind::kKey;
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    parsed.name = text;
  } else {
    parsed.name = trimmed(text.substr(0, equals));
    parsed.value = trimmed(text.substr(equals + 1));
  }
  return parsed;
}

// The lines [first, end) that belong to a section, and the index of its
// heading (none for the nameless part before the first heading).
struct SectionRange {
  std::optional<std::size_t> heading;
  std::size_t first = 0;
  std::size_t end = 0;
};

class Parsed {
 public:
  explicit Parsed(std::string_view bytes)
      : bytes_(bytes),
        utf8_(bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom),
        lines_(splitLines(bytes, utf8_ ? kUtf8Bom.size() : 0)) {}

  bool utf8() const { return utf8_; }
  const std::vector<Line>& lines() const { return lines_; }
  ParsedLine parse(std::size_t i) const {
    const Line& line = lines_[i];
    return parseLine(bytes_.substr(line.begin, line.contentEnd - line.begin));
  }

  // In a UTF-8 file only ASCII letters are folded: the code page's accented
  // letters are two bytes there, and folding bytes would mix up sequences.
  bool sameName(std::string_view a, std::string_view b) const {
    if (!utf8_) return ansiEqualIgnoringCase(a, b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 0x20) : a[i];
      char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 0x20) : b[i];
      if (x != y) return false;
    }
    return true;
  }

  // The first section called `name` (already trimmed).
  std::optional<SectionRange> findSection(std::string_view name) const {
    std::optional<SectionRange> found;
    if (name.empty()) found = SectionRange{};
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      ParsedLine parsed = parse(i);
      if (parsed.kind != Kind::kHeading) continue;
      if (found) {
        found->end = i;
        return found;
      }
      if (sameName(parsed.name, name)) found = SectionRange{i, i + 1, 0};
    }
    if (found) found->end = lines_.size();
    return found;
  }

 private:
  std::string_view bytes_;
  bool utf8_;
  std::vector<Line> lines_;
};

std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

IniFile::IniFile(std::string bytes) : bytes_(std::move(bytes)) {}

bool IniFile::isUtf8() const {
  return Parsed(bytes_).utf8();
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
  Parsed file(bytes_);
  std::optional<SectionRange> range = file.findSection(trimmed(section));
  if (!range) return std::nullopt;
  key = trimmed(key);
  for (std::size_t i = range->first; i < range->end; ++i) {
    ParsedLine line = file.parse(i);
    if (line.kind != Kind::kKey || !file.sameName(line.name, key)) continue;
    if (!line.value) return std::nullopt;
    return std::string(unquoted(*line.value));
  }
  return std::nullopt;
}

bool IniFile::write(std::string_view section, std::string_view key,
                    const std::optional<std::string>& value) {
  section = trimmed(section);
  key = trimmed(key);
  std::string newValue;
  if (value) {
    std::string_view text = *value;
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    newValue = text;
  }
  const std::string keyLine = std::string(key) + "=" + newValue;

  Parsed file(bytes_);
  const std::vector<Line>& lines = file.lines();
  std::optional<SectionRange> range = file.findSection(section);
  if (!range) {
    if (!value) return false;
    std::size_t contentStart = file.utf8() ? kUtf8Bom.size() : 0;
    if (bytes_.size() > contentStart && bytes_.back() != '\n' && bytes_.back() != '\r') {
      bytes_ += kNewLine;
    }
    bytes_ += "[" + std::string(section) + "]\r\n" + keyLine + "\r\n";
    return true;
  }

  std::vector<std::size_t> matches;
  std::optional<std::size_t> lastKeyLine;
  for (std::size_t i = range->first; i < range->end; ++i) {
    ParsedLine line = file.parse(i);
    if (line.kind != Kind::kKey) continue;
    if (!line.name.starts_with(';')) lastKeyLine = i;
    if (file.sameName(line.name, key)) matches.push_back(i);
  }

  if (!value) {
    if (matches.empty()) return false;
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
      bytes_.erase(lines[*it].begin, lines[*it].end - lines[*it].begin);
    }
    return true;
  }

  if (!matches.empty()) {
    const Line& line = lines[matches.front()];
    ParsedLine parsed = file.parse(matches.front());
    if (parsed.value && *parsed.value == newValue) return false;
    std::string replacement = std::string(parsed.name) + "=" + newValue;
    bytes_.replace(line.begin, line.contentEnd - line.begin, replacement);
    return true;
  }

  std::optional<std::size_t> after = lastKeyLine ? lastKeyLine : range->heading;
  if (!after) {
    bytes_.insert(file.utf8() ? kUtf8Bom.size() : 0, keyLine + "\r\n");
    return true;
  }
  const Line& line = lines[*after];
  std::string insertion = keyLine + "\r\n";
  if (line.contentEnd == line.end) insertion.insert(0, kNewLine);
  bytes_.insert(line.end, insertion);
  return true;
}

std::string profileResult(const std::optional<std::string>& value, std::string_view defaultValue,
                          std::uint32_t size) {
  std::string text;
  if (value) {
    text = *value;
  } else {
    // Windows drops the default's trailing blanks (but not its tabs).
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    text = defaultValue;
  }
  if (size == 0) return "";
  if (text.size() > size - 1) text.resize(size - 1);
  return text;
}

}  // namespace zepo
