// The installer's four windows on Win32, with the same layouts, captions,
// fonts, tab order and menus as the Qt front end: frmMain, frmAbout, frmVer
// and frmReport. Each puts its record of the installer into its controls.
#pragma once

#include <windows.h>

#include <array>

#include "app/win32/controls.h"
#include "shell/installer.h"

namespace zepo::win32 {

class Win32Ui;

// Control identifiers. None is IDOK or IDCANCEL, so that Enter and Esc press
// no button of a window that has no default or cancel button.
enum ControlId : int {
  // frmMain
  kDlbDrive = 100,
  kCmdInstalla,
  kCmdEsci,
  kFrame1,
  kTxtServer,
  kTxtIP,
  kLabel1,
  kLabel2,
  kTxtPath,
  kLabel3,
  kLabel4,
  kCmdCheck,
  kLblAttendi,
  kTxtPosto,
  kLabel5,
  // frmMain's menu items
  kMnuServer = 200,
  kMnuEsci,
  kMnuInstalla,
  kMnuVer,
  kMnuSommario,
  kMnuInfo,
  // frmAbout (cmdOK is IDOK: the default button)
  kLblDescription = 300,
  kLblTitle,
  kLblVersion,
  kPicIcon,
  kPicture1,
  kAboutLabel1,
  kAboutLabel2,
  kAboutLabel3,
  // frmVer
  kCmdTorna = 400,
  kLblServizio,
  kLblSystem,
  kLblHost,
  kTxtSistema,
  kCmdRipara,
  kVerLabel2,
  kTxtDir0,  // to kTxtDir0 + 4
  kVerLabel1 = kTxtDir0 + EsitoVerifica::kRows,
  kVerFrame1,
  kTxtCheck0,  // to kTxtCheck0 + 4
  kLblTotale = kTxtCheck0 + EsitoVerifica::kRows,
  kCmdReport,
  // frmReport
  kTxtReport = 500,
  kReportCmdOK,
};

class FrmMainWindow : public Window {
 public:
  explicit FrmMainWindow(Win32Ui& ui);
  ~FrmMainWindow() override;
  void showRecord();
  HMENU menu() const { return menu_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void fillDriveList();
  void command(int id, int notification);

  Win32Ui& ui_;
  HMENU menu_;
  bool showing_ = false;  // while showRecord sets the controls
};

class FrmAboutWindow : public Window {
 public:
  explicit FrmAboutWindow(Win32Ui& ui);
  ~FrmAboutWindow() override;
  void showRecord();

  // The maker's address lines.
  static constexpr const wchar_t* kMaker = L"MORVICAN S.r.l.";
  static constexpr const wchar_t* kStreet = L"Via dei Tessitori, 14";
  static constexpr const wchar_t* kCity = L"40128 Bologna (BO)";

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Win32Ui& ui_;
  HBITMAP installer_;
  HBITMAP maker_;
};

class FrmVerWindow : public Window {
 public:
  explicit FrmVerWindow(Win32Ui& ui);
  ~FrmVerWindow() override;
  void showRecord();

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void showStateBox(int id, const StateBox& state);

  Win32Ui& ui_;
};

// Whether a state box (txtCheck_i, txtSistema) shows its state in bold red.
bool isEmphasised(HWND stateBox);

// Its close box only hides it, so that the report stays.
class FrmReportWindow : public Window {
 public:
  explicit FrmReportWindow(Win32Ui& ui);
  void showRecord();

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Win32Ui& ui_;
};

}  // namespace zepo::win32
