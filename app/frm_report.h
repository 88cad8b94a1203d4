// The report window frmReport: the check's error report, one line per
// error.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>

namespace zepo::qt {

class QtUi;

// Its close box only hides it, so that the report stays.
class FrmReportWindow : public QWidget {
 public:
  explicit FrmReportWindow(QtUi& ui);

  // Puts the report text of app.esito into the window.
  void showRecord();

 private:
  QtUi& ui_;
  QPlainTextEdit* txtReport_;
};

}  // namespace zepo::qt
