#include "platform/ini_file.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/ansi_case.h"

namespace zepo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr std::string_view kNewLine = "\r\n";

// What the profile functions drop around names and values: besides blanks
// and tabs, the other white space of C (line ends cannot occur inside a
// line) and Ctrl-Z, which DOS editors left at the end of a file.
bool isIniBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

std::string_view iniTrimmed(std::string_view text) {
  while (!text.empty() && isIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A name or value goes on as a C string: up to its first NUL.
std::string_view upToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The character of UTF-8 text at `i`, which moves past it; a byte that
// starts no character stands for itself, above every character.
char32_t nextCharacter(std::string_view text, std::size_t& i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  bool whole = length > 0 && i + length <= text.size();
  for (std::size_t k = 1; whole && k < length; ++k) {
    whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
  }
  if (!whole) {
    ++i;
    return 0x110000 + lead;
  }
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) c = c << 6 | (text[i + k] & 0x3F);
  i += length;
  return c;
}

// The capital of a letter of the code page, given as a character.
char32_t foldedLetter(char32_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  switch (c) {
    case 0x0161:  // s caron
    case 0x0153:  // oe
    case 0x017E:  // z caron
      return c - 1;
    case 0x00FF:  // y diaeresis
      return 0x0178;
    default:
      return c;
  }
}

// UTF-16 code units as UTF-8. A surrogate without its pair is kept as the
// three bytes that encode its value, so that writing the text back gives
// the same units.
std::string utf8OfUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) {
    unsigned char a = static_cast<unsigned char>(bytes[i]);
    unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? static_cast<char32_t>(a << 8 | b) : static_cast<char32_t>(b << 8 | a);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The reverse; bytes that are no UTF-8 (none come from a UTF-16 file, but
// a caller may pass them) become one unit each.
std::string utf16OfUtf8(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  auto put = [&](char32_t u) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = nextCharacter(text, i);
    if (c >= 0x110000) c -= 0x110000;  // a byte of no character: a unit of its own
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

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
  text = iniTrimmed(text);
  if (text.empty()) return parsed;
  if (text.front() == '[') {
    std::size_t close = text.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      parsed.kind = Kind::kHeading;
      parsed.name = upToNul(iniTrimmed(text.substr(1, close - 1)));
      return parsed;
    }
  }
  parsed.kind = Kind::kKey;
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    parsed.name = upToNul(text);
  } else {
    parsed.name = upToNul(iniTrimmed(text.substr(0, equals)));
    parsed.value = upToNul(iniTrimmed(text.substr(equals + 1)));
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

  // In a Unicode file the letters of the code page fold too, as
  // characters: their UTF-8 forms are two bytes.
  bool sameName(std::string_view a, std::string_view b) const {
    if (!utf8_) return ansiEqualIgnoringCase(a, b);
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
      if (foldedLetter(nextCharacter(a, i)) != foldedLetter(nextCharacter(b, j))) return false;
    }
    return i == a.size() && j == b.size();
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

}  // namespace

IniFile::IniFile(std::string bytes) : bytes_(std::move(bytes)) {
  std::string_view view = bytes_;
  if (view.starts_with(kUtf8Bom)) {
    encoding_ = Encoding::kUtf8;
  } else if (view.starts_with(kUtf16LeBom) || view.starts_with(kUtf16BeBom)) {
    encoding_ = view.starts_with(kUtf16LeBom) ? Encoding::kUtf16Le : Encoding::kUtf16Be;
    view.remove_prefix(2);
    if (view.size() % 2 != 0) oddByte_ = view.substr(view.size() - 1);
    bytes_ = std::string(kUtf8Bom) + utf8OfUtf16(view, encoding_ == Encoding::kUtf16Be);
  }
}

std::string IniFile::bytes() const {
  if (encoding_ != Encoding::kUtf16Le && encoding_ != Encoding::kUtf16Be) return bytes_;
  const bool bigEndian = encoding_ == Encoding::kUtf16Be;
  return std::string(bigEndian ? kUtf16BeBom : kUtf16LeBom) +
         utf16OfUtf8(std::string_view(bytes_).substr(kUtf8Bom.size()), bigEndian) + oddByte_;
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
  Parsed file(bytes_);
  std::optional<SectionRange> range = file.findSection(iniTrimmed(section));
  if (!range) return std::nullopt;
  key = iniTrimmed(key);
  for (std::size_t i = range->first; i < range->end; ++i) {
    ParsedLine line = file.parse(i);
    if (line.kind != Kind::kKey || !file.sameName(line.name, key)) continue;
    if (!line.value) return std::nullopt;
    return std::string(*line.value);
  }
  return std::nullopt;
}

bool IniFile::write(std::string_view section, std::string_view key,
                    const std::optional<std::string>& value) {
  section = iniTrimmed(section);
  key = iniTrimmed(key);
  std::string newValue;
  if (value) {
    std::string_view text = *value;
    while (!text.empty() && isIniBlank(text.front())) text.remove_prefix(1);
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
  if (size == 0) return "";
  std::string text;
  if (value) {
    text = *value;
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
      // Windows copies what follows the opening quote into the buffer, then
      // drops the last character copied when the whole rest fitted: the
      // closing quote, or, when only the quote was cut off, the last
      // character inside.
      text.erase(0, 1);
      const bool fits = text.size() <= size;
      if (text.size() > size - 1) text.resize(size - 1);
      if (fits && !text.empty()) text.pop_back();
      return text;
    }
  } else {
    // Windows drops the default's trailing blanks (but not its tabs).
    while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
    text = defaultValue;
  }
  if (text.size() > size - 1) text.resize(size - 1);
  return text;
}

}  // namespace zepo
