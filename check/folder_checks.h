// The folder rows of the check run and the comparison of a local folder with
// the server's.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

// The installer's list file of the server's file names.
inline constexpr const char* kListFileName = "filetmp.txt";

// Fills row RigaCorrente with the folder and whether it is there, then
// advances RigaCorrente. A missing folder adds its report line and sets
// ErroriPresenti.
void VerificaCartelle(Installer& app, const std::string& Cartella);

// Looks in CartellaLocale for every ordinary file of CartellaServer; each
// missing one adds its report line, and any missing one marks the row tested
// last (RigaCorrente - 1) and sets ErroriPresenti. The server's names go
// through the list file in the installer's folder first.
void VerificaFile(Installer& app, const std::string& CartellaServer,
                  const std::string& CartellaLocale);

}  // namespace zepo
