// The main window frmMain: the server's data, the destination drive, the
// three commands and the menus.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>

#include "app/forms/forms_ui.h"
#include "app/qt/form_builder.h"

namespace zepo::qt {

class QtUi;

class FrmMainWindow : public QMainWindow, public forms::FormWindow {
 public:
  explicit FrmMainWindow(QtUi& ui);

  // Puts the record app.frmMain into the controls.
  void showRecord() override;

  // The area below the menu bar that holds the controls.
  QWidget* client() const { return client_; }
  const BuiltForm& controls() const { return controls_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void fillDriveList();

  QtUi& ui_;
  QWidget* client_;
  BuiltForm controls_;
};

}  // namespace zepo::qt
