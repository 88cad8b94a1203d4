// The platform on Windows: every operation is the Windows function of its
// name, or the file and folder functions that the forms runtime builds on,
// with the runtime's error numbers. Strings cross the "A" functions as
// Windows-1252 text, the system code page the installer is written for.
//
// The header does not include <windows.h>, so that the rest of the program
// never sees its macros.
//
//   win32_platform.cc        Windows functions, system information, app data
//   win32_platform_files.cc  listing, file and folder operations, text and
//                            binary files
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms_runtime.h"

namespace zepo {

class Win32Platform : public FormsRuntime {
 public:
  Win32Platform();
  ~Win32Platform() override;

#include "platform/system_overrides.inc"

 public:
  FileIdentity fileIdentity(const std::string& path) override;

 private:
  // The installer's registry handles are 32-bit numbers; the Windows ones of
  // a 64-bit program are not. Keys it opens get a number of this table.
  std::map<RegKey, void*> openKeys_;
  RegKey nextKey_ = 0x00000100;
};

}  // namespace zepo
