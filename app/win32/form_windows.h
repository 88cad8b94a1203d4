// The installer's four windows on Win32, each built from its design table:
// frmMain, frmAbout, frmVer and frmReport. Each puts its record of the
// installer into its controls.
#pragma once

#include <windows.h>

#include "app/forms/forms_ui.h"
#include "app/win32/controls.h"
#include "shell/installer.h"

namespace zepo::win32 {

class Win32Ui;

class FrmMainWindow : public Window, public forms::FormWindow {
 public:
  explicit FrmMainWindow(Win32Ui& ui);
  void showRecord() override;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void fillDriveList();
  void command(int id, int notification);

  Win32Ui& ui_;
  bool showing_ = false;  // while showRecord sets the controls
};

class FrmAboutWindow : public Window, public forms::FormWindow {
 public:
  explicit FrmAboutWindow(Win32Ui& ui);
  void showRecord() override;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Win32Ui& ui_;
};

class FrmVerWindow : public Window, public forms::FormWindow {
 public:
  explicit FrmVerWindow(Win32Ui& ui);
  void showRecord() override;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void showStateBox(HWND box, const StateBox& state);

  Win32Ui& ui_;
};

// Whether a state box (txtCheck_i, txtSistema) shows its state in bold red.
bool isEmphasised(HWND stateBox);

// Its close box only hides it, so that the report stays.
class FrmReportWindow : public Window, public forms::FormWindow {
 public:
  explicit FrmReportWindow(Win32Ui& ui);
  void showRecord() override;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Win32Ui& ui_;
};

}  // namespace zepo::win32
