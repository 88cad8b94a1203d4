// The hidden and system attributes of the emulated workstation's files: the
// extended attribute user.DOSATTRIB, whose value starts with the attribute
// bits as hexadecimal text ("0x2" hidden, "0x6" hidden and system), as Linux
// file servers and compatibility layers keep them.
#pragma once

#include <string>

namespace zepo {

// The hidden (2) and system (4) bits of the Linux file or folder `host`;
// 0 when it has no such attribute or its file system keeps none.
int readDosAttributes(const std::string& host);

// Sets user.DOSATTRIB of `host` to `bits` ("0x2" for 2); false when the
// file system keeps no extended attributes.
bool writeDosAttributes(const std::string& host, int bits);

}  // namespace zepo
