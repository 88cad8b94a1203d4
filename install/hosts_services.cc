#include "install/hosts_services.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "shell/settings.h"

namespace zepo {

namespace {

constexpr int kIn = 1;
constexpr int kOut = 2;

// A text as a text file holds it once written and reads it back: each
// character that the code page lacks has become '?'. Lines read from hosts
// are compared with what the installer's own write would have left there.
std::string asWritten(const std::string& text) {
  return fromCodePage(toCodePage(text));
}

// Whether a hosts line names the server: a plain, case-sensitive substring
// search, so SRV10 and a comment mentioning SRV1 both name SRV1. An empty
// server name (start-up and the install refuse one, a repair may still run
// with the name cleared) names no line, rather than every line, so that such
// a call cannot wipe the table.
bool namesServer(const std::string& line, const std::string& server) {
  return !server.empty() && line.find(server) != std::string::npos;
}

void updateHosts(Installer& app, const std::string& CartellaHosts) {
  Platform& platform = app.platform;
  const std::string hosts = CartellaHosts + "\\hosts";
  const std::string hostsBak = CartellaHosts + "\\hosts.bak";

  if (platform.listFirst(hosts, kAttrNormal).empty()) {
    platform.copyFile(CartellaHosts + "\\hosts.sam", hosts);
  }
  platform.openText(kIn, hosts, TextMode::kInput);
  platform.openText(kOut, hostsBak, TextMode::kOutput);

  const std::string serverLine = hostsLine(app);
  const std::string server = asWritten(app.frmMain.txtServer);
  bool replaced = false;
  for (;;) {
    if (platform.endOfFile(kIn)) {
      if (!replaced) platform.writeLine(kOut, serverLine);
      platform.closeFile(kIn);
      platform.closeFile(kOut);
      platform.deleteFile(hosts);
      platform.renameFile(hostsBak, hosts);
      return;
    }
    std::string line = platform.readLine(kIn);
    if (line == serverLine) {
      // The table already holds the line: it is left exactly as it was, even
      // when lines before this one were being replaced in the new copy.
      platform.writeLine(kOut, line);
      platform.closeFile(kIn);
      platform.closeFile(kOut);
      platform.deleteFile(hostsBak);
      return;
    }
    if (namesServer(line, server)) {
      platform.writeLine(kOut, serverLine);
      replaced = true;
    } else {
      platform.writeLine(kOut, line);
    }
  }
}

void updateServices(Installer& app, const std::string& CartellaHosts) {
  Platform& platform = app.platform;
  const std::string services = CartellaHosts + "\\services";
  const std::string servicesBak = CartellaHosts + "\\services.bak";

  std::string name = readProfileString(platform, "SERV", "ServiceName", settingsPath(app));
  std::string id = readProfileString(platform, "SERV", "ServiceID", settingsPath(app));
  std::string comment = readProfileString(platform, "SERV", "ServiceComment", settingsPath(app));

  platform.openText(kIn, services, TextMode::kInput);
  platform.openText(kOut, servicesBak, TextMode::kOutput);

  const std::string servicesLine = name + "\t" + id + "\t" + comment;
  for (;;) {
    if (platform.endOfFile(kIn)) {
      platform.writeLine(kOut, servicesLine);
      platform.closeFile(kIn);
      platform.closeFile(kOut);
      platform.deleteFile(services);
      platform.renameFile(servicesBak, services);
      return;
    }
    std::string line = platform.readLine(kIn);
    platform.writeLine(kOut, line);
    // Any line with the service's fixed name counts, a comment included,
    // whatever ServiceName the settings give.
    if (line.find("criteria") != std::string::npos) {
      platform.closeFile(kIn);
      platform.closeFile(kOut);
      platform.deleteFile(servicesBak);
      return;
    }
  }
}

}  // namespace

std::string hostsLine(const Installer& app) {
  return asWritten(app.frmMain.txtIP + "\t" + app.frmMain.txtServer);
}

void AggiornaHostsServizi(Installer& app, const std::string& CartellaHosts) {
  try {
    updateHosts(app, CartellaHosts);
    updateServices(app, CartellaHosts);
  } catch (const RuntimeError&) {
    // Nothing is undone: a companion file may hold part of the new
    // contents. The files are closed so that later procedures can use the
    // numbers 1 and 2 again.
    app.platform.closeFile(kIn);
    app.platform.closeFile(kOut);
    app.ui.msgBox("Errore durante l'agg. dei file di sistema", kMbCritical, "");
  }
}

}  // namespace zepo
