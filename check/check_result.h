// Small operations on the check result that every check shares.
#pragma once

#include <string>
#include <utility>

#include "shell/installer.h"

namespace zepo {

// A state box turned to "ERR": bold red from now on, as long as its window
// exists.
inline void markError(StateBox& box) {
  box.emphasised = true;
  box.text = "ERR";
}

// "OK" changes the text only: a box that was bold red in an earlier run of
// the same window stays bold red.
inline void markOk(StateBox& box) {
  box.text = "OK";
}

// One line of the report text, ended by CR LF.
inline void appendReportLine(Installer& app, const std::string& line) {
  app.esito.txtReport += line + "\r\n";
}

// The check window's part of the check result back to its creation state.
// The report text belongs to the report window and stays.
inline void resetCheckWindow(EsitoVerifica& esito) {
  std::string report = std::move(esito.txtReport);
  esito = EsitoVerifica{};
  esito.txtReport = std::move(report);
}

}  // namespace zepo
