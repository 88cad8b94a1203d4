// The checks of the workstation's system files: hosts, services and
// system.ini.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

// Checks that hosts names the server (the exact line txtIP, TAB, txtServer),
// that services holds "criteria" and that system.ini holds the database
// client's entry; any failure turns the system-files state to "ERR", offers
// the repair and sets ErroriPresenti. A runtime error on the way (a missing
// services file, say) shows "Errore durante l'agg. dei file di sistema" and
// ends the check with what it had set so far.
void VerificaHostsServizi(Installer& app, const std::string& CartellaHosts,
                          const std::string& CartellaSistema);

// Risultato is true when [DBS_REG_32] of CartellaSistema\system.ini holds X
// with a value; otherwise it is false, the report gets its line and
// ErroriPresenti is set.
void VerificaSystemIni(Installer& app, const std::string& CartellaSistema, bool& Risultato);

}  // namespace zepo
