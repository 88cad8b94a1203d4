// The records of LinuxPlatform's open files and directory listing, shared by
// the files of the Linux platform (the destructor needs them complete).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/line_reader.h"
#include "platform/linux_platform.h"

namespace zepo {

struct LinuxPlatform::OpenFile {
  enum class Mode { kInput, kOutput, kBinary };

  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile();  // closes the descriptor

  Mode mode = Mode::kInput;
  int fd = -1;
  std::uint64_t device = 0, inode = 0;
  std::unique_ptr<LineReader> lines;  // input: its lines, read from fd
  std::string contents;               // output: bytes not yet written
  std::uint64_t position = 0;         // binary: the next byte
  bool writable = false;              // binary: opened for writing too
};

struct LinuxPlatform::Listing {
  std::vector<std::string> names;
  std::size_t next = 0;
  bool ended = false;  // the closing "" has been given
};

}  // namespace zepo
