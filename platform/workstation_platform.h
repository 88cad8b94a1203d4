// The platform of the workstation that this build runs on: the emulated
// workstation of the Linux prefix in use (ZEPO_PREFIX and so on) on Linux,
// the system itself on Windows. Programs that work on "this workstation"
// (the installer, xcopy) make theirs here.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace zepo {

// Throws std::runtime_error when the workstation cannot be opened (a
// malformed Linux prefix).
std::unique_ptr<Platform> makeWorkstationPlatform();

// The path in the host's own file system of a Windows path of the
// workstation that makeWorkstationPlatform() made: the Linux path inside the
// prefix on Linux (throwing RuntimeError as a file operation would), the
// path itself on Windows. For tools that hand whole files to the standard
// library.
std::string workstationHostPath(Platform& platform, const std::string& windowsPath);

}  // namespace zepo
