#include "tests/json_lines.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zepo {
namespace {

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : text_(text) {}

  JsonValue parseAll() {
    JsonValue value = parseValue();
    skipBlanks();
    if (pos_ != text_.size()) fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(pos_));
  }

  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }

  bool take(char c) {
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void expect(char c) {
    if (!take(c)) fail(std::string("expected '") + c + "'");
  }

  bool takeWord(const std::string& word) {
    if (text_.compare(pos_, word.size(), word) != 0) return false;
    pos_ += word.size();
    return true;
  }

  JsonValue parseValue() {
    skipBlanks();
    if (pos_ >= text_.size()) fail("missing value");
    JsonValue value;
    char c = text_[pos_];
    if (c == '{') {
      ++pos_;
      value.type = JsonValue::Type::kObject;
      if (take('}')) return value;
      do {
        skipBlanks();
        std::string name = parseString();
        expect(':');
        value.members[name] = parseValue();
      } while (take(','));
      expect('}');
    } else if (c == '[') {
      ++pos_;
      value.type = JsonValue::Type::kArray;
      if (take(']')) return value;
      do {
        value.items.push_back(parseValue());
      } while (take(','));
      expect(']');
    } else if (c == '"') {
      value.type = JsonValue::Type::kString;
      value.text = parseString();
    } else if (takeWord("true") || takeWord("false")) {
      value.type = JsonValue::Type::kBool;
      value.boolean = c == 't';
    } else if (takeWord("null")) {
      value.type = JsonValue::Type::kNull;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      std::size_t used = 0;
      value.type = JsonValue::Type::kNumber;
      value.number = std::stoll(text_.substr(pos_), &used);
      pos_ += used;
    } else {
      fail("unexpected character");
    }
    return value;
  }

  static void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  unsigned parseHex4() {
    if (pos_ + 4 > text_.size()) fail("short \\u escape");
    unsigned code = std::stoul(text_.substr(pos_, 4), nullptr, 16);
    pos_ += 4;
    return code;
  }

  std::string parseString() {
    if (pos_ >= text_.size() || text_[pos_] != '"') fail("expected a string");
    ++pos_;
    std::string out;
    while (true) {
      if (pos_ >= text_.size()) fail("unterminated string");
      char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) fail("unterminated escape");
      char e = text_[pos_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned code = parseHex4();
          if (code >= 0xD800 && code < 0xDC00 && takeWord("\\u")) {
            unsigned low = parseHex4();
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          appendUtf8(out, code);
          break;
        }
        default:
          fail("unknown escape");
      }
    }
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
  auto it = members.find(name);
  if (it == members.end()) throw std::runtime_error("JSON: no member \"" + name + "\"");
  return it->second;
}

std::string referenceDataDir() {
  for (const char* relative : {"/../shared/testdata", "/../../shared/testdata"}) {
    std::filesystem::path dir = std::filesystem::path(ZEPO_SOURCE_DIR + std::string(relative));
    if (std::filesystem::is_directory(dir)) return dir.lexically_normal().string();
  }
  throw std::runtime_error("no reference data beside " ZEPO_SOURCE_DIR
                           " (looked for ../shared/testdata and ../../shared/testdata)");
}

JsonValue parseJson(const std::string& text) {
  return JsonParser(text).parseAll();
}

std::vector<JsonValue> readJsonLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::vector<JsonValue> values;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    try {
      values.push_back(parseJson(line));
    } catch (const std::runtime_error& error) {
      throw std::runtime_error(path + ":" + std::to_string(number) + ": " + error.what());
    }
  }
  return values;
}

}  // namespace zepo
