// One event procedure run as the forms runtime runs it: the end of the
// installer, and any runtime error that no handler caught, end it; the
// error first shows the runtime's error box. And the installer's start
// before its windows exist, which ends with a plain message when it fails.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "platform/errors.h"
#include "shell/installer.h"

namespace zepo {

// The runtime error that a failure counts as when it leaves an event
// procedure: a RuntimeError as it is, running out of memory as error 7,
// anything else as the runtime's internal error 51.
RuntimeError runtimeErrorOf(const std::exception_ptr& failure);

// Runs `procedure`; returns the installer's exit code when it ended (0 for
// the end operation, 1 after an error, whatever was thrown), nothing when it
// goes on.
std::optional<int> runEventProcedure(Installer& app,
                                     const std::function<void(Installer&)>& procedure);

// The exit code of an installer that could not start.
inline constexpr int kStartFailed = 2;

// Runs the installer's start (`start` opens the workstation, makes the
// windows and runs them; its result is the exit code). Whatever it throws
// is told to the operator through `tell`, and the result is kStartFailed:
// the message of a workstation that cannot be opened as it stands (it names
// the file and the line), the runtime's error text for anything else.
int runStart(const std::function<int()>& start,
             const std::function<void(const std::string&)>& tell);

}  // namespace zepo
