// Where Windows keeps what the installer touches, by its family (the
// system-information control's platform: 2 for the NT family) and version:
// the one statement of these folders for everything that lays them out or
// looks in them.
#pragma once

#include <cstdint>
#include <string>

namespace zepo {

// The version as a 16-bit whole number, rounded half to even as the
// runtime converts (4.0 -> 4, 5.1 -> 5); a version beyond the 16-bit range
// is held at its edge.
std::int16_t wholeVersion(float version);

// The folder of hosts and services: drivers\etc below system32 in the NT
// family, the Windows folder itself otherwise. `windowsFolder` has no
// closing backslash.
std::string hostsFolder(const std::string& windowsFolder, int platform);

// The desktop that every user sees: the Windows folder's own in the 9x
// family; All Users' under Documents and Settings of the Windows drive for
// NT 5 (2000, XP), under the Windows folder's Profiles for NT 4.
std::string allUsersDesktop(const std::string& windowsFolder, int platform, float version);

}  // namespace zepo
