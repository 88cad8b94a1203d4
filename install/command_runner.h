// The command runner and the tree copy of Module1: the installer copies
// whole folder trees from the server's share by running the system's xcopy
// on one command line and waiting for it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zepo {

// Starts the program of the command line `Comando` (its first word, found on
// the system's search path), waits without a time-out until it has ended and
// returns its exit code; -1 when it could not be started.
std::int32_t EseguiComando(Platform& platform, const std::string& Comando);

// Copies the folder `Sorgente` with its subfolders into the folder
// `Destinazione` (both without a closing backslash) with xcopy. Whatever
// xcopy does or reports, the caller goes on: its exit code is not looked at.
void CopiaCartella(Platform& platform, const std::string& Sorgente,
                   const std::string& Destinazione);

}  // namespace zepo
