#include "check/system_checks.h"

#include "check/check_result.h"
#include "install/hosts_services.h"
#include "platform/errors.h"
#include "shell/settings.h"

namespace zepo {

namespace {

// True when a line of the open file 1 satisfies `matches`; reads only up to
// the first such line and closes the file either way.
template <typename Match>
bool fileHasLine(Platform& platform, Match matches) {
  for (;;) {
    if (platform.endOfFile(1)) {
      platform.closeFile(1);
      return false;
    }
    if (matches(platform.readLine(1))) {
      platform.closeFile(1);
      return true;
    }
  }
}

}  // namespace

void VerificaHostsServizi(Installer& app, const std::string& CartellaHosts,
                          const std::string& CartellaSistema) {
  Platform& platform = app.platform;
  markOk(app.esito.txtSistema);
  bool hostsGood = true;
  bool servicesGood = true;

  try {
    const std::string hosts = CartellaHosts + "\\hosts";
    if (platform.listFirst(hosts, kAttrNormal).empty()) {
      appendReportLine(app, "Manca il file HOSTS");
      hostsGood = false;
    } else {
      platform.openText(1, hosts, TextMode::kInput);
      const std::string expected = hostsLine(app);
      if (!fileHasLine(platform, [&](const std::string& line) { return line == expected; })) {
        hostsGood = false;
        appendReportLine(app, "Errore nel file HOSTS");
      }
    }

    // No presence test: a missing services file is an error for the trap.
    platform.openText(1, CartellaHosts + "\\services", TextMode::kInput);
    if (!fileHasLine(platform, [](const std::string& line) {
          return line.find("criteria") != std::string::npos;
        })) {
      appendReportLine(app, "Errore nel file SERVICES");
      servicesGood = false;
    }

    bool systemIniGood = false;
    VerificaSystemIni(app, CartellaSistema, systemIniGood);
    if (hostsGood && servicesGood && systemIniGood) return;

    app.esito.cmdRiparaVisible = true;
    markError(app.esito.txtSistema);
    app.ErroriPresenti = true;
  } catch (const RuntimeError&) {
    // The checks left undone stay undone and nothing of the outcome is
    // recorded: the state keeps its "OK" and the repair is not offered. A
    // file left open would block the next open under number 1.
    platform.closeFile(1);
    app.ui.msgBox("Errore durante l'agg. dei file di sistema", kMbCritical, "");
  }
}

void VerificaSystemIni(Installer& app, const std::string& CartellaSistema, bool& Risultato) {
  // Only the presence of a value counts, not what it says.
  if (readProfileString(app.platform, "DBS_REG_32", "X", CartellaSistema + "\\system.ini")
          .empty()) {
    Risultato = false;
    app.ErroriPresenti = true;
    appendReportLine(app, "Errore nel file SYSTEM.INI");
  } else {
    Risultato = true;
  }
}

}  // namespace zepo
