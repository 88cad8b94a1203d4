// The lines of a text file open for input, read block by block, so that
// memory stays bounded (one block and the line being read) whatever the
// file's size. Both platforms read their text files through it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zepo {

class LineReader {
 public:
  // Fills up to `size` bytes at `buffer` with the file's next bytes and
  // returns how many, 0 at the end; a failing read throws RuntimeError.
  using ReadBlock = std::function<std::size_t(char* buffer, std::size_t size)>;

  explicit LineReader(ReadBlock read) : read_(std::move(read)) {}

  // Whether every byte has been read.
  bool atEnd();
  // The next line without its line end, in UTF-8: CR LF, a lone LF and a
  // lone CR each end a line, and a last line without one is still a line.
  // Past the end raises 62.
  std::string readLine();

 private:
  // Reads the next block once the current one is used up; false at the
  // end of the file.
  bool fill();

  ReadBlock read_;
  std::vector<char> block_;
  std::size_t size_ = 0;      // bytes in the block
  std::size_t position_ = 0;  // the next of them
};

}  // namespace zepo
