// The check window frmVer: the five client folders with their states, the
// system files' state, the total and the repair and report commands.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "shell/installer.h"

namespace zepo::qt {

class QtUi;

class FrmVerWindow : public QWidget {
 public:
  explicit FrmVerWindow(QtUi& ui);

  // Puts the record app.esito into the controls.
  void showRecord();

 protected:
  // The close box destroys the window.
  void closeEvent(QCloseEvent* event) override;

 private:
  QtUi& ui_;
  std::array<QLineEdit*, EsitoVerifica::kRows> txtDir_;
  std::array<QLineEdit*, EsitoVerifica::kRows> txtCheck_;
  QLineEdit* txtSistema_;
  QPushButton* cmdRipara_;
  QPushButton* cmdReport_;
  QLabel* lblTotale_;
};

// Shows a check state: its text, and bold pure red once it is emphasised.
void showStateBox(QLineEdit* box, const StateBox& state);

}  // namespace zepo::qt
