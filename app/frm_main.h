// The main window frmMain: the server's data, the destination drive, the
// three commands and the menus.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

namespace zepo::qt {

class QtUi;

class FrmMainWindow : public QMainWindow {
 public:
  explicit FrmMainWindow(QtUi& ui);

  // Puts the record app.frmMain into the controls.
  void showRecord();

  // The area below the menu bar that holds the controls.
  QWidget* client() const { return client_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void fillDriveList();

  QtUi& ui_;
  QWidget* client_;
  QLineEdit* txtServer_;
  QLineEdit* txtIP_;
  QLineEdit* txtPath_;
  QLineEdit* txtPosto_;
  QComboBox* dlbDrive_;
  QLabel* lblAttendi_;
};

}  // namespace zepo::qt
