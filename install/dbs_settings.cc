#include "install/dbs_settings.h"

#include <optional>

#include "platform/funzioni_registro.h"
#include "shell/settings.h"

namespace zepo {

void AggiornaSystemIni(Installer& app, const std::string& CartellaWin) {
  // A read of 0 characters (no file, section, key or an empty value) gives
  // "", which stands for "no value" in both writes.
  std::string value = readProfileString(app.platform, "DBS_REG_32", "X", settingsPath(app));

  // No data at all makes Windows remove the key from the section.
  std::optional<std::string> data;
  if (!value.empty()) data = value;
  app.platform.WritePrivateProfileStringA("DBS_REG_32", "X", data, CartellaWin + "\\system.ini");

  ScriviRegistroDBS(app, value);
}

void ScriviRegistroDBS(Installer& app, const std::string& ValoreDBS) {
  static const char* const kKeys[] = {
      "hkey_current_user\\software\\prologue software\\configuration\\criteria\\DBS_REG_32",
      "hkey_users\\.default\\software\\prologue software\\configuration\\criteria\\DBS_REG_32",
  };
  // Each key on its own: a key that cannot be created or written (no rights
  // on the default user's hive) does not keep the other from being written.
  for (const char* key : kKeys) {
    CreaChiave(app.platform, key);
    ScriviChiaveStringa(app.platform, key, "X:\\", ValoreDBS, "");
  }
}

}  // namespace zepo
