// The about window frmAbout: title, version, description, the two pictures
// and the maker's address.
#pragma once

#include <QDialog>
#include <QLabel>

namespace zepo::qt {

class QtUi;

class FrmAboutWindow : public QDialog {
 public:
  explicit FrmAboutWindow(QtUi& ui);

  // Puts the record app.frmAbout into the window.
  void showRecord();

  // The maker's address lines.
  static constexpr const char* kMaker = "MORVICAN S.r.l.";
  static constexpr const char* kStreet = "Via dei Tessitori, 14";
  static constexpr const char* kCity = "40128 Bologna (BO)";

 protected:
  // Esc and the close box close the window as OK does.
  void reject() override;

 private:
  QtUi& ui_;
  QLabel* lblTitle_;
  QLabel* lblVersion_;
};

}  // namespace zepo::qt
