// The installer run from the command line, without windows: the install,
// the check and the repair of the main and check windows run unattended,
// through the same procedures, with every question answered from the
// options and every message box written to standard error.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zepo::cli {

// The exit statuses of an unattended run.
inline constexpr int kExitOk = 0;      // done; for a check, no error found
inline constexpr int kExitErrors = 1;  // the check found errors
inline constexpr int kExitFailed = 2;  // could not run, or a box stopped it

// Runs the command line `args` (the program's name first); returns the exit
// status. `openPlatform` opens the workstation; `out` and `err` are the
// standard output and error.
int run(const std::vector<std::string>& args,
        const std::function<std::unique_ptr<Platform>()>& openPlatform, std::FILE* out,
        std::FILE* err);

// The width in pixels of the screen that an install chooses the client's
// font size for: the workstation's screen on Windows; on Linux, where the
// run needs no display, that of a 1024 by 768 screen.
int screenWidthPixels();

// While it lives, the programs that the procedures start (xcopy) write
// their output to standard error, so that standard output keeps only the
// run's result.
class ChildOutputToStandardError {
 public:
  ChildOutputToStandardError();
  ChildOutputToStandardError(const ChildOutputToStandardError&) = delete;
  ChildOutputToStandardError& operator=(const ChildOutputToStandardError&) = delete;
  ~ChildOutputToStandardError();

 private:
  std::intptr_t saved_;
};

// The Windows program's command line as UTF-8 arguments, and its parent's
// console attached for standard output and error when it has none of its
// own (a GUI program started from a console window).
std::vector<std::string> windowsCommandLine();

}  // namespace zepo::cli
