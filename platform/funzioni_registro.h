// The registry module FunzioniRegistro: registry keys named by one text path
// ("hkey_current_user\software\..."), Boolean results.
#pragma once

#include <string>

#include "platform/platform.h"

namespace zepo {

// Creates the key and every missing key above it (or opens an existing one)
// and closes it again; true when Windows reported success.
bool CreaChiave(Platform& platform, std::string Chiave);
// Writes `Valore` as a REG_SZ value named `NomeValore` into the existing key,
// or deletes the value when `Valore` equals `ValoreCancella`.
bool ScriviChiaveStringa(Platform& platform, std::string Chiave, std::string NomeValore,
                         std::string Valore, std::string ValoreCancella);

}  // namespace zepo
