#include "app/frm_main.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QMenuBar>

#include "app/controls.h"
#include "app/pictures.h"
#include "app/qt_ui.h"
#include "check/check_run.h"
#include "install/install_command.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"

namespace zepo::qt {

FrmMainWindow::FrmMainWindow(QtUi& ui) : ui_(ui) {
  const Twips& tw = ui.twips();
  setObjectName("frmMain");
  setWindowTitle(frmMain::kCaption);
  setWindowIcon(appIcon());
  QFont font = windowFont();
  setFont(font);
  QFont arial12Bold = designFont("Arial", 12, true);

  client_ = new QWidget(this);
  client_->setObjectName("client");
  setCentralWidget(client_);
  buildMenus();

  // Created in tab-index order, so that the focus chain follows it too.
  dlbDrive_ = new QComboBox(client_);
  dlbDrive_->setObjectName("dlbDrive");
  dlbDrive_->setGeometry(tw.rect(120, 2400, 2055, 315));
  dlbDrive_->setFont(font);
  auto* cmdInstalla =
      addButton(client_, "cmdInstalla", "Installa", tw.rect(4080, 840, 1215, 495), arial12Bold);
  auto* cmdEsci =
      addButton(client_, "cmdEsci", "Esci", tw.rect(4080, 1440, 1215, 495), arial12Bold);
  auto* frame1 = new QGroupBox("Dati del Server", client_);
  frame1->setObjectName("Frame1");
  frame1->setGeometry(tw.rect(120, 120, 3495, 1815));
  // The frame's font is its caption's only; what it holds has the window's.
  frame1->setFont(designFont("MS Sans Serif", 8.25, true));
  txtServer_ = addTextBox(frame1, "txtServer", "", tw.rect(120, 600, 1575, 285), font);
  txtIP_ = addTextBox(frame1, "txtIP", "255.255.255.255", tw.rect(1800, 600, 1455, 285), font);
  addLabel(frame1, "Label1", "Nome", tw.rect(120, 360, 1215, 255), font);
  addLabel(frame1, "Label2", "Indirizzo IP", tw.rect(1800, 360, 1215, 255), font);
  txtPath_ = addTextBox(frame1, "txtPath", "", tw.rect(120, 1320, 2175, 285), font);
  addLabel(frame1, "Label3", "Cartella dati Client", tw.rect(120, 1080, 1815, 255), font);
  addLabel(client_, "Label4", "Drive locale di destinazione", tw.rect(120, 2160, 2055, 255), font);
  auto* cmdCheck =
      addButton(client_, "cmdCheck", "Verifica", tw.rect(4080, 240, 1215, 495), arial12Bold);
  lblAttendi_ =
      addLabel(client_, "lblAttendi", "", tw.rect(2520, 2280, 2775, 495), designFont("Arial", 12));
  lblAttendi_->hide();
  txtPosto_ = addTextBox(frame1, "txtPosto", "", tw.rect(2640, 1320, 375, 285), font);
  addLabel(frame1, "Label5", "N. client", tw.rect(2640, 1080, 735, 255), font);
  chainTabOrder(
      {dlbDrive_, cmdInstalla, cmdEsci, txtServer_, txtIP_, txtPath_, cmdCheck, txtPosto_});
  dlbDrive_->setFocus();

  QSize clientSize = tw.size(5715, 3135);
  resize(clientSize.width(), clientSize.height() + menuBar()->sizeHint().height());

  connect(cmdInstalla, &QPushButton::clicked, this,
          [this] { ui_.runEvent(frmMain::cmdInstalla_Click); });
  connect(cmdEsci, &QPushButton::clicked, this, [this] { ui_.runEvent(frmMain::cmdEsci_Click); });
  connect(cmdCheck, &QPushButton::clicked, this, [this] { ui_.runEvent(frmMain::cmdCheck_Click); });

  // What the operator types goes into the record at once; the logic reads
  // the fields from there.
  connect(txtServer_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ui_.app().frmMain.txtServer = text.toStdString(); });
  connect(txtIP_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ui_.app().frmMain.txtIP = text.toStdString(); });
  connect(txtPath_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ui_.app().frmMain.txtPath = text.toStdString(); });
  connect(txtPosto_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ui_.app().frmMain.txtPosto = text.toStdString(); });
  connect(dlbDrive_, &QComboBox::activated, this, [this](int index) {
    std::string entry = dlbDrive_->itemText(index).toStdString();
    ui_.runEvent([&entry](Installer& app) { setDrive(app, entry); });
  });

  fillDriveList();
}

void FrmMainWindow::buildMenus() {
  auto addItem = [this](QMenu* menu, const char* name, const char* caption,
                        void (*procedure)(Installer&)) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, [this, procedure] { ui_.runEvent(procedure); });
  };
  QMenu* mnuFile = menuBar()->addMenu("File");
  mnuFile->setObjectName("mnuFile");
  addItem(mnuFile, "mnuServer", "Nome Server", frmMain::mnuServer_Click);
  addItem(mnuFile, "mnuEsci", "Esci", frmMain::mnuEsci_Click);
  QMenu* mnuEsegui = menuBar()->addMenu("Esegui");
  mnuEsegui->setObjectName("mnuEsegui");
  addItem(mnuEsegui, "mnuInstalla", "Installa Client", frmMain::mnuInstalla_Click);
  addItem(mnuEsegui, "mnuVer", "Verifica installazione", frmMain::mnuVer_Click);
  QMenu* mnuHelp = menuBar()->addMenu("?");
  mnuHelp->setObjectName("mnuHelp");
  addItem(mnuHelp, "mnuSommario", "Sommario", frmMain::mnuSommario_Click);
  addItem(mnuHelp, "mnuInfo", "Informazioni", frmMain::mnuInfo_Click);
}

void FrmMainWindow::fillDriveList() {
  dlbDrive_->clear();
  for (const std::string& entry : driveListEntries(ui_.app().platform))
    dlbDrive_->addItem(QString::fromStdString(entry));
}

void FrmMainWindow::showRecord() {
  const FrmMain& record = ui_.app().frmMain;
  txtServer_->setText(QString::fromStdString(record.txtServer));
  txtIP_->setText(QString::fromStdString(record.txtIP));
  txtPath_->setText(QString::fromStdString(record.txtPath));
  txtPosto_->setText(QString::fromStdString(record.txtPosto));
  QString drive = QString::fromStdString(record.drive);
  if (dlbDrive_->findText(drive) < 0) fillDriveList();  // a drive came or went
  dlbDrive_->setCurrentIndex(dlbDrive_->findText(drive));
  lblAttendi_->setText(displayText(record.lblAttendiCaption));
  lblAttendi_->setVisible(record.lblAttendiVisible);
}

void FrmMainWindow::closeEvent(QCloseEvent* event) {
  // The window goes away only through the end of the installer, which the
  // clean-up on closing brings about.
  event->ignore();
  ui_.runEvent(frmMain::Form_Unload);
}

}  // namespace zepo::qt
