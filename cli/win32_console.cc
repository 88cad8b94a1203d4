#include <windows.h>

#include <cstdio>

#include "cli/unattended.h"
#include "platform/command_line.h"

namespace zepo::cli {

namespace {

bool hasHandle(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

std::vector<std::string> windowsCommandLine() {
  const wchar_t* wide = GetCommandLineW();
  int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string line(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide, -1, line.data(), n, nullptr, nullptr);
  std::vector<std::string> args = splitCommandLine(line);
  if (args.size() < 2) return args;

  // A GUI program has no console: output that a caller redirected keeps its
  // handles, anything else goes to the console of the window it was started
  // from, when there is one.
  const bool out = hasHandle(STD_OUTPUT_HANDLE);
  const bool err = hasHandle(STD_ERROR_HANDLE);
  if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
  }
  return args;
}

int screenWidthPixels() {
  return GetSystemMetrics(SM_CXSCREEN);
}

ChildOutputToStandardError::ChildOutputToStandardError()
    : saved_(reinterpret_cast<std::intptr_t>(GetStdHandle(STD_OUTPUT_HANDLE))) {
  // A started program inherits the standard handles of the moment; the
  // C runtime's stdout keeps the handle it opened with.
  std::fflush(stdout);
  SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
}

ChildOutputToStandardError::~ChildOutputToStandardError() {
  SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(saved_));
}

}  // namespace zepo::cli
