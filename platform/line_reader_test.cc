#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace zepo {
namespace {

// Every line of `text`, read in pieces of at most `piece` bytes, as a file
// read gives them: a line and its line end may lie across any number of
// reads (the platform contract reads past the end).
std::vector<std::string> linesOf(const std::string& text, std::size_t piece) {
  std::size_t at = 0;
  LineReader reader([&](char* buffer, std::size_t size) {
    std::size_t n = std::min({size, piece, text.size() - at});
    std::memcpy(buffer, text.data() + at, n);
    at += n;
    return n;
  });
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.push_back(reader.readLine());
  return lines;
}

TEST(LineReader, LinesAcrossReadsOfAnySize) {
  const std::string longLine(200 * 1024, 'x');  // longer than a block
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"dos\r\nunix\nmac\rcitt\xE0\r\n\r\nlast", {"dos", "unix", "mac", "città", "", "last"}},
      {"\r\r\n\n", {"", "", ""}},
      {"", {}},
      {longLine + "\r\n" + longLine, {longLine, longLine}},
  };
  for (const Case& c : cases) {
    for (std::size_t piece :
         {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 20}) {
      EXPECT_EQ(linesOf(c.text, piece), c.lines) << c.text.substr(0, 20) << " by " << piece;
    }
  }
}

}  // namespace
}  // namespace zepo
