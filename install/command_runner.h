// The command runner and the tree copy through xcopy.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zepo {

// Starts the command line, waits for it to end and returns its exit code,
// or -1 when it cannot be started.
std::int32_t EseguiComando(Platform& platform, const std::string& Comando);
// Copies the folder tree `Sorgente` into `Destinazione` with xcopy.
void CopiaCartella(Platform& platform, const std::string& Sorgente,
                   const std::string& Destinazione);

}  // namespace zepo
