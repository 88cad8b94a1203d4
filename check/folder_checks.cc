#include "check/folder_checks.h"

#include "check/check_result.h"
#include "platform/windows_names.h"
#include "shell/text.h"

namespace zepo {

void VerificaCartelle(Installer& app, const std::string& Cartella) {
  const int r = app.RigaCorrente;
  app.esito.txtDir.at(r) = upperName(Cartella);
  StateBox& state = app.esito.txtCheck.at(r);
  // Folders included: a plain file of that name answers as well and so
  // counts as the folder.
  if (!app.platform.listFirst(Cartella, kAttrDirectory).empty()) {
    markOk(state);
  } else {
    markError(state);
    appendReportLine(app, "Manca la cartella " + Cartella);
    app.ErroriPresenti = true;
  }
  app.RigaCorrente = static_cast<std::int16_t>(r + 1);
}

void VerificaFile(Installer& app, const std::string& CartellaServer,
                  const std::string& CartellaLocale) {
  Platform& platform = app.platform;
  const std::string listFile = platform.appPath() + "\\" + kListFileName;

  // The whole listing goes to the list file before the first local test:
  // a local test is itself a listing and would end the server's search.
  platform.openText(1, listFile, TextMode::kOutput);
  for (std::string name = platform.listFirst(CartellaServer + "\\*.*", kAttrNormal); !name.empty();
       name = platform.listNext()) {
    platform.writeLine(1, name);
  }
  platform.closeFile(1);

  platform.openText(1, listFile, TextMode::kInput);
  bool allPresent = true;
  while (!platform.endOfFile(1)) {
    const std::string name = platform.readLine(1);
    const std::string local = CartellaLocale + "\\" + name;
    if (platform.listFirst(local, kAttrNormal).empty()) {
      appendReportLine(app, "Manca il file " + local);
      allPresent = false;
    }
  }
  platform.closeFile(1);

  if (!allPresent) {
    app.ErroriPresenti = true;
    markError(app.esito.txtCheck.at(app.RigaCorrente - 1));
  }
}

}  // namespace zepo
