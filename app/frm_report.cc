#include "app/frm_report.h"

#include <QPushButton>

#include "app/controls.h"
#include "app/pictures.h"
#include "app/qt_ui.h"
#include "check/check_window.h"

namespace zepo::qt {

FrmReportWindow::FrmReportWindow(QtUi& ui) : QWidget(nullptr, Qt::Window), ui_(ui) {
  const Twips& tw = ui.twips();
  setObjectName("frmReport");
  setWindowTitle("Report Errori");
  setWindowIcon(appIcon());
  QFont font = windowFont();
  setFont(font);
  resize(tw.size(4470, 3195));

  txtReport_ = new QPlainTextEdit(this);
  txtReport_->setObjectName("txtReport");
  txtReport_->setGeometry(tw.rect(120, 120, 4215, 2175));
  txtReport_->setFont(font);
  txtReport_->setReadOnly(true);
  txtReport_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtReport_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtReport_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  auto* cmdOK = addButton(this, "cmdOK", "OK", tw.rect(1560, 2520, 1335, 495),
                          designFont("Arial", 9.75, true));
  chainTabOrder({txtReport_, cmdOK});
  txtReport_->setFocus();

  connect(cmdOK, &QPushButton::clicked, this, [this] { ui_.runEvent(frmReport::cmdOK_Click); });
}

void FrmReportWindow::showRecord() {
  QString text = displayText(ui_.app().esito.txtReport);
  // Replacing the text would scroll back to the top at every refresh.
  if (txtReport_->toPlainText() != text) txtReport_->setPlainText(text);
}

}  // namespace zepo::qt
