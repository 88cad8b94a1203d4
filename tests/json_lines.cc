#include "tests/json_lines.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zepo {
namespace {

class LineReader {
 public:
  explicit LineReader(const std::string& text) : text_(text) {}

  JsonLine object() {
    JsonLine line;
    expect('{');
    do {
      std::string name = string();
      expect(':');
      if (take('[')) {
        std::vector<std::string>& items = line.lists[name];
        if (!take(']')) {
          do items.push_back(string());
          while (take(','));
          expect(']');
        }
      } else if (peek() == '"') {
        line.values[name] = string();
      } else {
        std::size_t end = text_.find_first_not_of("-0123456789", pos_);
        if (end == pos_) fail("a value");
        line.values[name] = text_.substr(pos_, end - pos_);
        pos_ = end;
      }
    } while (take(','));
    expect('}');
    if (peek() != '\0') fail("the end of the line");
    return line;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("expected " + what + " at offset " + std::to_string(pos_));
  }
  char peek() {
    while (pos_ < text_.size() && std::string(" \t\r").find(text_[pos_]) != std::string::npos) {
      ++pos_;
    }
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  bool take(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  void expect(char c) {
    if (!take(c)) fail(std::string("'") + c + "'");
  }
  std::string string() {
    expect('"');
    std::string out;
    const std::string escaped = "\"\\/btnfr", meant = "\"\\/\b\t\n\f\r";
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\' || pos_ >= text_.size()) {
        out += c;
      } else if (char e = text_[pos_++]; e == 'u' && text_.compare(pos_, 2, "00") == 0) {
        out += static_cast<char>(std::stoul(text_.substr(pos_ + 2, 2), nullptr, 16));
        pos_ += 4;
      } else if (escaped.find(e) != std::string::npos) {
        out += meant[escaped.find(e)];
      } else {
        fail("a known escape");
      }
    }
    fail("the end of the string");
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string referenceDataDir() {
  std::filesystem::path dir(ZEPO_SOURCE_DIR "/tests/data");
  if (!std::filesystem::is_directory(dir)) {
    throw std::runtime_error("no reference data in " ZEPO_SOURCE_DIR "/tests/data");
  }
  return dir.string();
}

std::vector<JsonLine> readJsonLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::vector<JsonLine> lines;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
    try {
      lines.push_back(LineReader(text).object());
    } catch (const std::runtime_error& error) {
      throw std::runtime_error(path + ":" + std::to_string(number) + ": " + error.what());
    }
  }
  return lines;
}

}  // namespace zepo
