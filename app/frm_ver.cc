#include "app/frm_ver.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>

#include "app/controls.h"
#include "app/pictures.h"
#include "app/qt_ui.h"
#include "check/check_window.h"

namespace zepo::qt {

void showStateBox(QLineEdit* box, const StateBox& state) {
  box->setText(QString::fromStdString(state.text));
  QFont font = box->font();
  font.setBold(state.emphasised);
  box->setFont(font);
  QPalette palette = QApplication::palette(box);
  if (state.emphasised) {
    // Also while the box is disabled, as txtSistema is.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      palette.setColor(group, QPalette::Text, QColor(255, 0, 0));
  }
  box->setPalette(palette);
}

FrmVerWindow::FrmVerWindow(QtUi& ui) : QWidget(nullptr, Qt::Window), ui_(ui) {
  const Twips& tw = ui.twips();
  setObjectName("frmVer");
  setWindowTitle("Verifica");
  setWindowIcon(appIcon());
  QFont font = windowFont();
  setFont(font);
  QFont arial12Bold = designFont("Arial", 12, true);
  QSize client = tw.size(5040, 5415);
  resize(client);

  // Created in tab-index order.
  auto* cmdTorna = addButton(this, "cmdTorna", "OK", tw.rect(3240, 2400, 1575, 495), arial12Bold);
  addLabel(this, "lblservizio", "Servizio Criteria", tw.rect(120, 3960, 2055, 375), arial12Bold);
  addLabel(this, "lblSystem", "Files .INI", tw.rect(120, 4440, 2055, 375), arial12Bold);
  addLabel(this, "lblHost", "File Hosts", tw.rect(120, 4920, 2055, 375), arial12Bold);
  txtSistema_ = addTextBox(this, "txtSistema", "", tw.rect(2640, 4440, 495, 285), font);
  txtSistema_->setEnabled(false);
  cmdRipara_ = addButton(this, "cmdRipara", "Ripara", tw.rect(3360, 4320, 1335, 525),
                         designFont("Arial Black", 9.75));
  cmdRipara_->hide();
  addLabel(this, "Label2", "}", tw.rect(2040, 3840, 495, 1455), designFont("Garamond", 60));
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    txtDir_[i] = addTextBox(this, "", "Text1", tw.rect(120, 1440 + 360 * i, 1575, 285), font);
    txtDir_[i]->setObjectName(QString("txtDir_%1").arg(i));
  }
  addLabel(this, "Label1", "Cartella", tw.rect(120, 1080, 1575, 255), font);
  auto* frame1 = new QGroupBox("Stato", this);
  frame1->setObjectName("Frame1");
  frame1->setGeometry(tw.rect(1920, 1080, 1095, 2175));
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    txtCheck_[i] = addTextBox(frame1, "", "Text2", tw.rect(240, 360 + 360 * i, 495, 285), font);
    txtCheck_[i]->setObjectName(QString("txtCheck_%1").arg(i));
  }
  lblTotale_ = addLabel(this, "lblTotale", "", tw.rect(360, 360, 4335, 375), arial12Bold);
  lblTotale_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  cmdReport_ = addButton(this, "cmdReport", "Report Errori", tw.rect(3240, 1560, 1575, 615),
                         designFont("Arial", 9.75, true));

  chainTabOrder({cmdTorna, txtSistema_, cmdRipara_, txtDir_[0], txtDir_[1], txtDir_[2], txtDir_[3],
                 txtDir_[4], txtCheck_[0], txtCheck_[1], txtCheck_[2], txtCheck_[3], txtCheck_[4],
                 cmdReport_});
  cmdTorna->setFocus();

  connect(cmdTorna, &QPushButton::clicked, this, [this] { ui_.runEvent(frmVer::cmdTorna_Click); });
  connect(cmdRipara_, &QPushButton::clicked, this,
          [this] { ui_.runEvent(frmVer::cmdRipara_Click); });
  connect(cmdReport_, &QPushButton::clicked, this,
          [this] { ui_.runEvent(frmVer::cmdReport_Click); });
}

void FrmVerWindow::showRecord() {
  const EsitoVerifica& esito = ui_.app().esito;
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    txtDir_[i]->setText(QString::fromStdString(esito.txtDir[i]));
    showStateBox(txtCheck_[i], esito.txtCheck[i]);
  }
  showStateBox(txtSistema_, esito.txtSistema);
  cmdRipara_->setVisible(esito.cmdRiparaVisible);
  lblTotale_->setText(QString::fromStdString(esito.lblTotale));
  cmdReport_->setEnabled(esito.cmdReportEnabled);
}

void FrmVerWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  ui_.checkWindowClosed();
}

}  // namespace zepo::qt
