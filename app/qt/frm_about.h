// The about window frmAbout: title, version, description, the two pictures
// and the maker's address.
#pragma once

#include <QDialog>
#include <QLabel>

#include "app/forms/forms_ui.h"
#include "app/qt/form_builder.h"

namespace zepo::qt {

class QtUi;

class FrmAboutWindow : public QDialog, public forms::FormWindow {
 public:
  explicit FrmAboutWindow(QtUi& ui);

  // Puts the record app.frmAbout into the window.
  void showRecord() override;

 protected:
  // Esc and the close box close the window as OK does.
  void reject() override;

 private:
  QtUi& ui_;
  BuiltForm controls_;
};

}  // namespace zepo::qt
