// The Qt windows' behaviour: the records going in and out of the controls,
// the start-up, the close boxes and the keys that close a window.
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "app/qt/test_app.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace zepo::qt {
namespace {

using uitest::pressKey;
using uitest::sendKey;
using uitest::tabChain;
using uitest::typeText;
using uitest::whileModal;

class WindowsTest : public uitest::UiTest {
 protected:
  FrmMainWindow* shownMainWindow() {
    ui.show(Form::kMain);
    QCoreApplication::processEvents();
    return ui.mainWindow();
  }
  QWidget* openAbout() {
    EXPECT_TRUE(ui.runEvent(frmMain::mnuInfo_Click));
    return ui.window(Form::kAbout);
  }
};

TEST_F(WindowsTest, FieldsFollowTheRecordBothWays) {
  app.frmMain.txtServer = "SRV1";
  app.frmMain.txtIP = "192.0.2.7";
  app.frmMain.txtPath = "dati";
  app.frmMain.txtPosto = "3";
  app.frmMain.drive = "d: [DATI]";
  app.frmMain.lblAttendiCaption = "Installazione in corso ...\r\nAttendere.";
  app.frmMain.lblAttendiVisible = true;
  FrmMainWindow* window = shownMainWindow();
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtServer")->text(), "SRV1");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtIP")->text(), "192.0.2.7");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtPath")->text(), "dati");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtPosto")->text(), "3");
  auto* dlbDrive = control<QComboBox>(Form::kMain, "dlbDrive");
  EXPECT_EQ(dlbDrive->currentText(), "d: [DATI]");
  auto* lblAttendi = control<QLabel>(Form::kMain, "lblAttendi");
  EXPECT_EQ(lblAttendi->text(), "Installazione in corso ...\nAttendere.");
  EXPECT_TRUE(lblAttendi->isVisible());

  // The drive list holds the workstation's drives.
  QStringList drives;
  for (int i = 0; i < dlbDrive->count(); ++i) drives << dlbDrive->itemText(i);
  EXPECT_EQ(drives, QStringList({"c:", "d: [DATI]"}));

  // What the operator types and picks lands in the record at once.
  for (const char* name : {"txtServer", "txtIP", "txtPath", "txtPosto"}) {
    auto* box = control<QLineEdit>(Form::kMain, name);
    box->setFocus();
    box->selectAll();
    typeText(window, QString(name) + "!");
  }
  EXPECT_EQ(app.frmMain.txtServer, "txtServer!");
  EXPECT_EQ(app.frmMain.txtIP, "txtIP!");
  EXPECT_EQ(app.frmMain.txtPath, "txtPath!");
  EXPECT_EQ(app.frmMain.txtPosto, "txtPosto!");
  sendKey(dlbDrive, Qt::Key_Up);
  EXPECT_EQ(app.frmMain.drive, "c:");

  // A refresh shows a changed record, also with the label hidden again.
  app.frmMain.lblAttendiVisible = false;
  app.frmMain.txtIP = "192.0.2.8";
  ui.refresh(Form::kMain);
  EXPECT_FALSE(lblAttendi->isVisible());
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtIP")->text(), "192.0.2.8");
}

TEST_F(WindowsTest, StartUpFillsTheWindowFromTheSettingsFile) {
  ws.addShare("SRV1", "zepo");
  ws.writeFile("\\\\SRV1\\zepo\\zepoinst.ini",
               "[HOST]\r\nHostIP=192.0.2.10\r\n[PATH]\r\nDefaultDrive=d\r\nInstallPath=dati\r\n");
  QString prompt, title;
  auto answer = [&](QWidget* box) {
    title = box->windowTitle();
    auto* label = box->findChild<QLabel*>("prompt");
    ASSERT_NE(label, nullptr) << "not the input box: " << box->windowTitle().toStdString();
    prompt = label->text();
    typeText(box, "SRV1");
    pressKey(box, Qt::Key_Return);
  };
  EXPECT_TRUE(whileModal(answer, [&] { return ui.runEvent(frmMain::Form_Load); }));
  EXPECT_EQ(title, "Client ZEPO");
  EXPECT_EQ(prompt, "Inserire il nome del server");
  shownMainWindow();
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtServer")->text(), "SRV1");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtIP")->text(), "192.0.2.10");
  EXPECT_EQ(control<QLineEdit>(Form::kMain, "txtPath")->text(), "dati");
  EXPECT_EQ(control<QComboBox>(Form::kMain, "dlbDrive")->currentText(), "d: [DATI]");
}

TEST_F(WindowsTest, CancelledServerNameEndsTheInstaller) {
  QStringList seen;
  auto answer = [&](QWidget* box) {
    seen << box->windowTitle();
    if (auto* message = qobject_cast<QMessageBox*>(box)) seen << message->text();
    pressKey(box, Qt::Key_Escape);
  };
  EXPECT_FALSE(whileModal(answer, [&] { return ui.runEvent(frmMain::Form_Load); }));
  EXPECT_EQ(seen, QStringList({"Client ZEPO", "Client ZEPO",
                               "Se non si specifica il nome del server\n"
                               "il programma non può essere eseguito."}));
  EXPECT_TRUE(ui.ended());
  EXPECT_EQ(ui.exitCode(), 0);
}

TEST_F(WindowsTest, ClosingCleansUpAndEndsButEsciJustEnds) {
  std::string testFile = "C:\\WINDOWS\\TEST.TXT";
  ws.writeFile(testFile, "prova\r\n");
  app.CartellaWindows = windowsFolder(app.platform);
  app.CartellaWindows.resize(255, ' ');

  FrmMainWindow* window = shownMainWindow();
  control<QPushButton>(Form::kMain, "cmdEsci")->click();
  EXPECT_TRUE(ui.ended());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(ws.exists(testFile));

  QtUi second(Twips(15));
  Installer secondApp(ws.platform(), second);
  second.attach(secondApp);
  secondApp.CartellaWindows = app.CartellaWindows;
  second.show(Form::kMain);
  second.mainWindow()->close();
  EXPECT_TRUE(second.ended());
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_FALSE(second.mainWindow()->isVisible());
  EXPECT_FALSE(ws.exists(testFile));
}

TEST_F(WindowsTest, RecordShowsWithErrorsInBoldRed) {
  EsitoVerifica& esito = app.esito;
  esito.txtDir = {"d:\\zepo", "d:\\zepo\\prog", "d:\\zepo\\temp", "d:\\zepo\\txt",
                  "d:\\zepo\\wexa36"};
  esito.txtCheck = {StateBox{"OK"}, StateBox{"ERR", true}, StateBox{"OK"}, StateBox{"OK"},
                    StateBox{"ERR", true}};
  esito.txtSistema = StateBox{"ERR", true};
  esito.cmdRiparaVisible = true;
  esito.lblTotale = "Errori trovati";
  esito.cmdReportEnabled = false;
  esito.txtReport = "Manca la cartella d:\\zepo\\prog\r\nManca il file d:\\zepo\\wexa36\\x.fon\r\n";
  ui.show(Form::kVer);
  ui.show(Form::kReport);

  const QColor red(255, 0, 0);
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    auto* dir = control<QLineEdit>(Form::kVer, QString("txtDir_%1").arg(i).toUtf8());
    auto* check = control<QLineEdit>(Form::kVer, QString("txtCheck_%1").arg(i).toUtf8());
    EXPECT_EQ(dir->text().toStdString(), esito.txtDir[i]);
    EXPECT_EQ(check->text().toStdString(), esito.txtCheck[i].text);
    bool emphasised = esito.txtCheck[i].emphasised;
    EXPECT_EQ(check->font().bold(), emphasised) << i;
    EXPECT_EQ(check->palette().color(QPalette::Active, QPalette::Text) == red, emphasised) << i;
  }
  auto* txtSistema = control<QLineEdit>(Form::kVer, "txtSistema");
  EXPECT_EQ(txtSistema->text(), "ERR");
  EXPECT_TRUE(txtSistema->font().bold());
  EXPECT_EQ(txtSistema->palette().color(QPalette::Disabled, QPalette::Text), red);
  EXPECT_TRUE(control(Form::kVer, "cmdRipara")->isVisible());
  // Shown, "Ripara" takes its place in the focus chain.
  EXPECT_EQ(tabChain(control(Form::kVer, "cmdTorna")).value(1), "cmdRipara");
  EXPECT_EQ(control<QLabel>(Form::kVer, "lblTotale")->text(), "Errori trovati");
  EXPECT_FALSE(control(Form::kVer, "cmdReport")->isEnabled());
  EXPECT_EQ(control<QPlainTextEdit>(Form::kReport, "txtReport")->toPlainText(),
            "Manca la cartella d:\\zepo\\prog\nManca il file d:\\zepo\\wexa36\\x.fon\n");
}

TEST_F(WindowsTest, ReportCloseBoxHidesCheckCloseBoxDestroys) {
  app.esito.txtReport = "Manca la cartella d:\\zepo\r\n";
  ui.show(Form::kReport);
  QWidget* report = ui.window(Form::kReport);
  QPointer<QWidget> alive = report;
  report->close();
  uitest::deleteUnloadedWindows();
  ASSERT_FALSE(alive.isNull());
  EXPECT_FALSE(report->isVisible());
  ui.show(Form::kReport);
  EXPECT_EQ(ui.window(Form::kReport), report);
  EXPECT_EQ(control<QPlainTextEdit>(Form::kReport, "txtReport")->toPlainText(),
            "Manca la cartella d:\\zepo\n");

  ui.show(Form::kVer);
  QWidget* ver = ui.window(Form::kVer);
  QPointer<QWidget> verAlive = ver;
  // The window's unload procedure may speak; answer whatever it asks.
  whileModal([](QWidget* box) { uitest::pressKey(box, Qt::Key_Return); },
             [&] { return ver->close(); });
  EXPECT_EQ(ui.window(Form::kVer), nullptr);
  uitest::deleteUnloadedWindows();
  EXPECT_TRUE(verAlive.isNull());
  EXPECT_FALSE(ui.ended());
  ui.show(Form::kVer);
  EXPECT_NE(ui.window(Form::kVer), nullptr);
  EXPECT_FALSE(control(Form::kVer, "cmdRipara")->isVisible());
}

TEST_F(WindowsTest, EnterEscAndTheCloseBoxCloseItAsOk) {
  using Close = std::function<void(QWidget*)>;
  auto pressed = [](int key) { return Close([key](QWidget* about) { pressKey(about, key); }); };
  for (const Close& close : {pressed(Qt::Key_Return), pressed(Qt::Key_Escape),
                             Close([](QWidget* about) { about->close(); })}) {
    QWidget* about = openAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(app.frmAboutLoaded);
    EXPECT_EQ(about->windowTitle(), "Informazioni su clientZEPO");
    EXPECT_EQ(control<QLabel>(Form::kAbout, "lblTitle")->text(), "clientZEPO");
    EXPECT_EQ(control<QLabel>(Form::kAbout, "lblVersion")->text(), "Versione 3.0.0");
    about->activateWindow();
    close(about);
    EXPECT_EQ(ui.window(Form::kAbout), nullptr);
    EXPECT_FALSE(app.frmAboutLoaded);
    EXPECT_FALSE(about->isVisible());
    EXPECT_FALSE(ui.ended());
    uitest::deleteUnloadedWindows();
  }
}

}  // namespace
}  // namespace zepo::qt
