#include "app/qt/frm_about.h"

#include "app/qt/qt_ui.h"
#include "shell/main_window.h"

namespace zepo::qt {

FrmAboutWindow::FrmAboutWindow(QtUi& ui)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui) {
  const forms::FormTable& table = forms::aboutForm();
  setUpWindow(this, table);
  setModal(false);
  setFixedSize(ui.twips().size(table.width, table.height));
  controls_ = buildControls(this, table, ui.twips(),
                            [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
}

void FrmAboutWindow::showRecord() {
  const FrmAbout& record = ui_.app().frmAbout;
  setWindowTitle(QString::fromStdString(record.caption));
  controls_.get<QLabel>("lblTitle")->setText(QString::fromStdString(record.lblTitle));
  controls_.get<QLabel>("lblVersion")->setText(QString::fromStdString(record.lblVersion));
}

void FrmAboutWindow::reject() {
  ui_.runEvent(frmAbout::cmdOK_Click);
}

}  // namespace zepo::qt
