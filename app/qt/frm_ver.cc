#include "app/qt/frm_ver.h"

#include <QApplication>
#include <QCloseEvent>

#include "app/qt/qt_ui.h"

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
  const forms::FormTable& table = forms::checkForm();
  setUpWindow(this, table);
  resize(ui.twips().size(table.width, table.height));
  controls_ = buildControls(this, table, ui.twips(),
                            [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
}

QLineEdit* FrmVerWindow::row(const char* name, int i) const {
  return controls_.get<QLineEdit>(name + std::to_string(i));
}

void FrmVerWindow::showRecord() {
  const EsitoVerifica& esito = ui_.app().esito;
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    row("txtDir_", i)->setText(QString::fromStdString(esito.txtDir[i]));
    showStateBox(row("txtCheck_", i), esito.txtCheck[i]);
    // Each row's boxes say which folder they are about.
    for (const char* column : {"txtDir_", "txtCheck_"})
      nameControl(row(column, i), forms::checkForm(), esito.txtDir[i]);
  }
  showStateBox(controls_.get<QLineEdit>("txtSistema"), esito.txtSistema);
  controls_.get("cmdRipara")->setVisible(esito.cmdRiparaVisible);
  controls_.get<QLabel>("lblTotale")->setText(QString::fromStdString(esito.lblTotale));
  controls_.get("cmdReport")->setEnabled(esito.cmdReportEnabled);
}

void FrmVerWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  ui_.checkWindowClosed();
}

}  // namespace zepo::qt
