// The record behind a process or thread handle of LinuxPlatform.
//
// The file that defines ~LinuxPlatform must include this header: destroying
// the handle table needs the record complete. The child itself stays private
// to linux_platform_process.cc; the record only shares it, so that the
// process handle and the thread handle of one start release it together.
#pragma once

#include <memory>

#include "platform/linux_platform.h"

namespace zepo {

struct LinuxChild;  // linux_platform_process.cc

struct LinuxPlatform::Process {
  std::shared_ptr<LinuxChild> child;
};

}  // namespace zepo
