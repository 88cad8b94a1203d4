#include "platform/funzioni_registro.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/codepage.h"

namespace zepo {
namespace {

struct RootRow {
  std::string_view name;
  RegKey handle;
};

constexpr std::array<RootRow, 7> kRoots = {{
    {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKEY_USERS", kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", kHkeyDynData},
}};

}  // namespace

RegKey TrovaBase(Platform& /*platform*/, std::string& Chiave) {
  // Every caller passes a path with a backslash; without one the whole text
  // is taken as the root name and the sub key is empty.
  const std::size_t slash = Chiave.find('\\');
  std::string base = Chiave.substr(0, slash);
  Chiave = slash == std::string::npos ? std::string() : Chiave.substr(slash + 1);
  // Only ASCII capitals can equal a row, so ASCII upper case is enough.
  for (char& c : base) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  for (const RootRow& row : kRoots) {
    if (base == row.name) return row.handle;
  }
  return kInvalidRootKey;
}

bool CreaChiave(Platform& platform, std::string Chiave) {
  const RegKey root = TrovaBase(platform, Chiave);
  RegKey hChiave = 0;
  std::uint32_t disposition = 0;
  if (platform.RegCreateKeyExA(root, Chiave, 0, kKeyQueryValue, hChiave, disposition) !=
      kErrorSuccess) {
    return false;
  }
  return ChiudiChiave(platform, hChiave);
}

bool ApriChiave(Platform& platform, std::string Chiave, RegKey& hChiave, std::uint32_t Accesso) {
  const RegKey root = TrovaBase(platform, Chiave);
  return platform.RegOpenKeyExA(root, Chiave, Accesso, hChiave) == kErrorSuccess;
}

bool ChiudiChiave(Platform& platform, RegKey hChiave) {
  return platform.RegCloseKey(hChiave) == kErrorSuccess;
}

bool ScriviChiaveStringa(Platform& platform, std::string Chiave, std::string NomeValore,
                         std::string Valore, std::string ValoreCancella) {
  RegKey hChiave = 0;
  if (!ApriChiave(platform, std::move(Chiave), hChiave, kKeySetValue)) return false;
  bool result;
  if (Valore != ValoreCancella) {
    const std::string text = toCodePage(Valore);
    const std::string data = text + '\0';
    result = platform.RegSetValueExA(hChiave, NomeValore, kRegSz, data,
                                     static_cast<std::uint32_t>(text.size() + 1)) == kErrorSuccess;
  } else {
    result = CancellaValore(platform, hChiave, NomeValore);
  }
  ChiudiChiave(platform, hChiave);
  return result;
}

bool CancellaValore(Platform& platform, RegKey hChiave, std::string NomeValore) {
  return platform.RegDeleteValueA(hChiave, NomeValore) == kErrorSuccess;
}

}  // namespace zepo
