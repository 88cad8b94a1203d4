#include "app/qt/frm_report.h"

#include "app/qt/controls.h"
#include "app/qt/qt_ui.h"

namespace zepo::qt {

FrmReportWindow::FrmReportWindow(QtUi& ui) : QWidget(nullptr, Qt::Window), ui_(ui) {
  const forms::FormTable& table = forms::reportForm();
  setUpWindow(this, table);
  resize(ui.twips().size(table.width, table.height));
  controls_ = buildControls(this, table, ui.twips(),
                            [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
}

void FrmReportWindow::showRecord() {
  QString text = displayText(ui_.app().esito.txtReport);
  auto* txtReport = controls_.get<QPlainTextEdit>("txtReport");
  // Replacing the text would scroll back to the top at every refresh.
  if (txtReport->toPlainText() != text) txtReport->setPlainText(text);
}

}  // namespace zepo::qt
