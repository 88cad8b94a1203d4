// FunzioniRegistro: the installer's registry module. A key is given as one
// text path such as
// "hkey_current_user\software\prologue software\configuration\criteria\DBS_REG_32",
// whose first component names a predefined root key. The procedures return
// true only when the Windows calls that decide them return 0; they show
// nothing and raise nothing. Every handle they open is closed before they
// return, except the one that ApriChiave gives to its caller.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zepo {

// The root handle named by the text before the first backslash of `Chiave`
// (in any case): HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
// HKEY_USERS, HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG or HKEY_DYN_DATA;
// kInvalidRootKey for any other name. `Chiave` becomes the text after that
// backslash (the sub key).
RegKey TrovaBase(Platform& platform, std::string& Chiave);

// Creates the key, and any missing key above it, or opens it when it exists;
// then closes it.
bool CreaChiave(Platform& platform, std::string Chiave);

// Opens an existing key with the access mask `Accesso`; on success `hChiave`
// holds it and the caller closes it.
bool ApriChiave(Platform& platform, std::string Chiave, RegKey& hChiave, std::uint32_t Accesso);

bool ChiudiChiave(Platform& platform, RegKey hChiave);

// Stores `Valore` as the string value `NomeValore` of an existing key (the
// key is never created here), or deletes the value when `Valore` equals
// `ValoreCancella` exactly.
bool ScriviChiaveStringa(Platform& platform, std::string Chiave, std::string NomeValore,
                         std::string Valore, std::string ValoreCancella);

// Deletes the value `NomeValore` of an open key.
bool CancellaValore(Platform& platform, RegKey hChiave, std::string NomeValore);

}  // namespace zepo
