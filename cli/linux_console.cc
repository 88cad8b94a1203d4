#include <unistd.h>

#include <cstdio>

#include "cli/unattended.h"

namespace zepo::cli {

int screenWidthPixels() {
  return 1024;
}

ChildOutputToStandardError::ChildOutputToStandardError() : saved_(-1) {
  std::fflush(stdout);
  saved_ = dup(STDOUT_FILENO);
  if (saved_ >= 0) dup2(STDERR_FILENO, STDOUT_FILENO);
}

ChildOutputToStandardError::~ChildOutputToStandardError() {
  if (saved_ < 0) return;
  std::fflush(stdout);
  dup2(static_cast<int>(saved_), STDOUT_FILENO);
  close(static_cast<int>(saved_));
}

}  // namespace zepo::cli
