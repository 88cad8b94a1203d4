// The check window frmVer: the five client folders with their states, the
// system files' state, the total and the repair and report commands.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "app/forms/forms_ui.h"
#include "app/qt/form_builder.h"
#include "shell/installer.h"

namespace zepo::qt {

class QtUi;

class FrmVerWindow : public QWidget, public forms::FormWindow {
 public:
  explicit FrmVerWindow(QtUi& ui);

  // Puts the record app.esito into the controls.
  void showRecord() override;

 protected:
  // The close box destroys the window.
  void closeEvent(QCloseEvent* event) override;

 private:
  QLineEdit* row(const char* name, int i) const;

  QtUi& ui_;
  BuiltForm controls_;
};

// Shows a check state: its text, and bold pure red once it is emphasised.
void showStateBox(QLineEdit* box, const StateBox& state);

}  // namespace zepo::qt
