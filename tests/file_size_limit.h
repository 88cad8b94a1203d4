// A full disk for the tests on Linux: while a FileSizeLimit lives, no file
// of this process can grow past the limit; a write beyond it fails with
// EFBIG, as one on a full disk fails with ENOSPC, at the same moment of the
// write (SIGXFSZ, which would end the process, is ignored meanwhile).
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace zepo {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldSignal_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_;
  void (*oldSignal_)(int);
};

}  // namespace zepo
