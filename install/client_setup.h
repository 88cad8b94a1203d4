// The setup routine that both the install and the repair run.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

void AggiornaClient(Installer& app, const std::string& Radice, bool CopiaFile);

}  // namespace zepo
