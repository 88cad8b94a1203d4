// The database client's configuration value, copied from the settings file
// on the share into system.ini and the registry.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

// Reads DBS_REG_32/X from the settings file, writes it as the key X of the
// section DBS_REG_32 of `CartellaWin`\system.ini (removing the key when the
// settings give no value) and hands it to ScriviRegistroDBS. Reports nothing.
void AggiornaSystemIni(Installer& app, const std::string& CartellaWin);

// Stores `ValoreDBS` as the REG_SZ value "X:\" under the DBS_REG_32 key of the
// current user and of the default user, creating the keys; an empty value
// deletes the value instead. Reports nothing.
void ScriviRegistroDBS(Installer& app, const std::string& ValoreDBS);

}  // namespace zepo
