// Runtime errors of the installer: a failing file or folder operation throws
// RuntimeError with the number that the same failure has on Windows. Only
// the two procedures with an error handler catch it; the event loop catches
// the rest, shows the runtime's error box and ends the installer.
#pragma once

#include <exception>
#include <string>

namespace zepo {

enum ErrorNumber : int {
  kErrBadCall = 5,  // invalid procedure call or argument
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrInternal = 51,  // a failure that the runtime itself did not foresee
  kErrBadFileNameOrNumber = 52,
  kErrFileNotFound = 53,
  kErrBadFileMode = 54,
  kErrFileAlreadyOpen = 55,
  kErrFileAlreadyExists = 58,
  kErrDiskFull = 61,
  kErrInputPastEnd = 62,
  kErrDeviceUnavailable = 68,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
};

// The Italian text of a runtime error number ("Impossibile trovare il file").
std::string errorText(int number);

class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(int number) : number_(number), text_(errorText(number)) {}
  int number() const { return number_; }
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  int number_;
  std::string text_;
};

// Thrown by the end operation: the installer stops at once, without the
// main window's clean-up. Not a std::exception, so that nothing that
// handles runtime errors swallows it.
struct InstallerEnd {};

[[noreturn]] inline void endInstaller() {
  throw InstallerEnd{};
}

// The prompt of the runtime's error box: "Errore di run-time 'N':", a blank
// line, the error's text.
std::string runtimeErrorPrompt(const RuntimeError& error);

}  // namespace zepo
