#include "app/qt/frm_main.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "app/qt/controls.h"
#include "app/qt/qt_ui.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"

namespace zepo::qt {

FrmMainWindow::FrmMainWindow(QtUi& ui) : ui_(ui) {
  const forms::FormTable& table = forms::mainForm();
  setUpWindow(this, table);
  client_ = new QWidget(this);
  client_->setObjectName("client");
  setCentralWidget(client_);
  RunProcedure run = [this](forms::Procedure procedure) { ui_.runEvent(procedure); };
  buildMenus(menuBar(), table, run);
  controls_ = buildControls(client_, table, ui.twips(), run);
  QSize clientSize = ui.twips().size(table.width, table.height);
  resize(clientSize.width(), clientSize.height() + menuBar()->sizeHint().height());

  // What the operator types goes into the record at once; the logic reads
  // the fields from there.
  for (auto [name, field] : {std::pair{"txtServer", &FrmMain::txtServer},
                             {"txtIP", &FrmMain::txtIP},
                             {"txtPath", &FrmMain::txtPath},
                             {"txtPosto", &FrmMain::txtPosto}})
    connect(controls_.get<QLineEdit>(name), &QLineEdit::textEdited, this,
            [this, field](const QString& text) { ui_.app().frmMain.*field = text.toStdString(); });
  QComboBox* dlbDrive = controls_.get<QComboBox>("dlbDrive");
  connect(dlbDrive, &QComboBox::activated, this, [this, dlbDrive](int index) {
    std::string entry = dlbDrive->itemText(index).toStdString();
    ui_.runEvent([&entry](Installer& app) { setDrive(app, entry); });
  });

  fillDriveList();
}

void FrmMainWindow::fillDriveList() {
  QComboBox* dlbDrive = controls_.get<QComboBox>("dlbDrive");
  dlbDrive->clear();
  for (const std::string& entry : driveListEntries(ui_.app().platform))
    dlbDrive->addItem(QString::fromStdString(entry));
}

void FrmMainWindow::showRecord() {
  const FrmMain& record = ui_.app().frmMain;
  for (auto [name, field] : {std::pair{"txtServer", &FrmMain::txtServer},
                             {"txtIP", &FrmMain::txtIP},
                             {"txtPath", &FrmMain::txtPath},
                             {"txtPosto", &FrmMain::txtPosto}})
    controls_.get<QLineEdit>(name)->setText(QString::fromStdString(record.*field));
  QComboBox* dlbDrive = controls_.get<QComboBox>("dlbDrive");
  QString drive = QString::fromStdString(record.drive);
  if (dlbDrive->findText(drive) < 0) fillDriveList();  // a drive came or went
  dlbDrive->setCurrentIndex(dlbDrive->findText(drive));
  QLabel* lblAttendi = controls_.get<QLabel>("lblAttendi");
  lblAttendi->setText(displayText(record.lblAttendiCaption));
  lblAttendi->setVisible(record.lblAttendiVisible);
}

void FrmMainWindow::closeEvent(QCloseEvent* event) {
  // The window goes away only through the end of the installer, which the
  // clean-up on closing brings about.
  event->ignore();
  ui_.runEvent(frmMain::Form_Unload);
}

}  // namespace zepo::qt
