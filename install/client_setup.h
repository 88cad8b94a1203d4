// The setup routine that both the install and the repair run.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

// Updates hosts, services, system.ini and the registry, makes the client
// root `Radice` when missing, fetches the client INI zepo.ini from the
// server's template and writes the workstation's entries into it. With
// `CopiaFile` it then asks whether to copy the client's trees from the share
// (keeping the INI just written) and writes the font size and the process
// numbers. A failing file or folder operation outside the hosts and
// services update leaves as RuntimeError, with the earlier steps done.
void AggiornaClient(Installer& app, const std::string& Radice, bool CopiaFile);

}  // namespace zepo
