#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zepo {
namespace {

using Args = std::vector<std::string>;

// Just enough JSON for the reference file: one object per line whose values
// are strings or arrays of strings.
class JsonLine {
 public:
  explicit JsonLine(const std::string& text) : text_(text) {}

  // The string and string-array members of the object on the line.
  void parse(std::string& line, Args& args) {
    expect('{');
    for (;;) {
      std::string key = readString();
      expect(':');
      skipBlanks();
      if (peek() == '[') {
        expect('[');
        Args values;
        if (skipBlanks(), peek() != ']') {
          do values.push_back(readString());
          while (accept(','));
        }
        expect(']');
        if (key == "args") args = values;
      } else {
        std::string value = readString();
        if (key == "line") line = value;
      }
      if (!accept(',')) break;
    }
    expect('}');
  }

 private:
  char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool accept(char c) {
    skipBlanks();
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  void expect(char c) {
    if (!accept(c)) throw std::runtime_error(std::string("expected ") + c + " in " + text_);
  }
  std::string readString() {
    expect('"');
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) throw std::runtime_error("unterminated string in " + text_);
      char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      char e = text_[pos_++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u': {
          std::uint32_t code = std::stoul(text_.substr(pos_, 4), nullptr, 16);
          pos_ += 4;
          if (code < 0x80) {
            out += static_cast<char>(code);
          } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
          } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
          }
          break;
        }
        default:
          out += e;
          break;  // \" \\ \/
      }
    }
  }

  const std::string& text_;
  std::size_t pos_ = 0;
};

TEST(SplitCommandLine, AgreesWithWindowsOnTheReferenceLines) {
  // The reference data lies beside the repository; a worktree one level
  // further down finds it one level further up.
  std::ifstream in;
  std::string file;
  for (const char* dir :
       {ZEPO_SOURCE_DIR "/../shared/testdata", ZEPO_SOURCE_DIR "/../../shared/testdata"}) {
    file = std::string(dir) + "/command-lines.jsonl";
    in.open(file);
    if (in) break;
  }
  ASSERT_TRUE(in) << "reference file missing: " << file;
  int checked = 0;
  for (std::string text; std::getline(in, text);) {
    if (text.empty()) continue;
    std::string line;
    Args expected;
    JsonLine(text).parse(line, expected);
    EXPECT_EQ(splitCommandLine(line), expected) << "line: " << line;
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

TEST(SplitCommandLine, ProgramNameHasItsOwnRules) {
  // A quoted program name ends at the next quote, backslashes and all.
  EXPECT_EQ(splitCommandLine(R"("C:\Program Files\x\" a)"), (Args{R"(C:\Program Files\x\)", "a"}));
  // An unquoted one ends at the first blank; quotes in it are plain.
  EXPECT_EQ(splitCommandLine(R"(a"b c")"), (Args{R"(a"b)", "c"}));
  EXPECT_EQ(splitCommandLine("\"a b\"c d"), (Args{"a b", "c", "d"}));
  EXPECT_EQ(splitCommandLine("prog\targ"), (Args{"prog", "arg"}));
  // A leading blank leaves the program name empty.
  EXPECT_EQ(splitCommandLine(" prog a"), (Args{"", "prog", "a"}));
  EXPECT_EQ(splitCommandLine("prog"), (Args{"prog"}));
  EXPECT_EQ(splitCommandLine("prog   "), (Args{"prog"}));
  EXPECT_EQ(splitCommandLine(""), Args{});
}

TEST(SplitCommandLine, QuoteRunsAndBackslashes) {
  // Two quotes inside a quoted part: a literal quote, and the quoting ends.
  EXPECT_EQ(splitCommandLine(R"(p "a""b c")"), (Args{"p", R"(a"b)", "c"}));
  // Three quotes outside: a literal quote.
  EXPECT_EQ(splitCommandLine(R"(p """x y)"), (Args{"p", R"("x)", "y"}));
  EXPECT_EQ(splitCommandLine(R"(p "" "")"), (Args{"p", "", ""}));
  // Backslashes not before a quote stay as they are, even inside quotes.
  EXPECT_EQ(splitCommandLine(R"(p \\SRV\zepo\ "d:\x y\\")"),
            (Args{"p", R"(\\SRV\zepo\)", R"(d:\x y\)"}));
  EXPECT_EQ(splitCommandLine(R"(p a\\\\"b")"), (Args{"p", R"(a\\b)"}));
}

}  // namespace
}  // namespace zepo
