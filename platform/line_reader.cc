#include "platform/line_reader.h"

#include <string_view>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace zepo {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

bool LineReader::fill() {
  if (position_ < size_) return true;
  block_.resize(kBlockSize);
  size_ = read_(block_.data(), block_.size());
  position_ = 0;
  return size_ > 0;
}

bool LineReader::atEnd() {
  return !fill();
}

std::string LineReader::readLine() {
  if (!fill()) throw RuntimeError(kErrInputPastEnd);
  std::string line;
  for (;;) {
    const std::string_view rest(block_.data() + position_, size_ - position_);
    const std::size_t end = rest.find_first_of("\r\n");
    line.append(rest.substr(0, end));
    if (end == std::string_view::npos) {
      position_ = size_;
      if (fill()) continue;
      break;  // a last line without a line end
    }
    position_ += end + 1;
    // The LF of a CR LF may be the next read's first byte.
    if (rest[end] == '\r' && fill() && block_[position_] == '\n') ++position_;
    break;
  }
  return isAscii(line) ? line : fromCodePage(line);
}

}  // namespace zepo
