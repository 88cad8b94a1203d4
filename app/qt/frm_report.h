// The report window frmReport: the check's error report, one line per
// error.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>

#include "app/forms/forms_ui.h"
#include "app/qt/form_builder.h"

namespace zepo::qt {

class QtUi;

// Its close box only hides it, so that the report stays.
class FrmReportWindow : public QWidget, public forms::FormWindow {
 public:
  explicit FrmReportWindow(QtUi& ui);

  // Puts the report text of app.esito into the window.
  void showRecord() override;

 private:
  QtUi& ui_;
  BuiltForm controls_;
};

}  // namespace zepo::qt
