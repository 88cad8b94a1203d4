// The update of the workstation's hosts and services files.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

// Puts the server's line (txtIP, TAB, txtServer) into `CartellaHosts`\hosts
// and the database service's line (from the SERV section of the settings
// file on the share) into `CartellaHosts`\services. A failing file operation
// shows "Errore durante l'agg. dei file di sistema" and ends the procedure;
// nothing is undone and no error leaves it.
void AggiornaHostsServizi(Installer& app, const std::string& CartellaHosts);

// The server's hosts line, txtIP, TAB, txtServer, as hosts holds it once the
// update wrote it: a character that the code page lacks has become '?'. The
// update and the check both look for the line in this form.
std::string hostsLine(const Installer& app);

}  // namespace zepo
