// The platform of the workstation that this build runs on: the emulated
// workstation of the Linux prefix in use (ZEPO_PREFIX and so on) on Linux,
// the system itself on Windows. Programs that work on "this workstation"
// (the installer, xcopy) make theirs here.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace zepo {

// Throws std::runtime_error when the workstation cannot be opened (a
// malformed Linux prefix).
std::unique_ptr<Platform> makeWorkstationPlatform();

}  // namespace zepo
