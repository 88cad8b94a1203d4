#include "app/frm_main.h"

#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>

#include "app/test_app.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace zepo::qt {
namespace {

using uitest::expectPlaced;
using uitest::pressKey;
using uitest::sendKey;
using uitest::tabChain;
using uitest::typeText;
using uitest::whileModal;

class MainWindowTest : public uitest::UiTest {
 protected:
  FrmMainWindow* shownMainWindow() {
    ui.show(Form::kMain);
    QCoreApplication::processEvents();
    return ui.mainWindow();
  }
};

TEST_F(MainWindowTest, LayoutAsDesigned) {
  FrmMainWindow* window = shownMainWindow();
  EXPECT_EQ(window->windowTitle(), "MORVICAN - Installazione Client ZEPO");
  EXPECT_EQ(window->client()->size(), QSize(381, 209));
  QList<QSize> iconSizes = window->windowIcon().availableSizes();
  EXPECT_TRUE(iconSizes.contains(QSize(32, 32)) && iconSizes.contains(QSize(16, 16)));

  const char* ms = "MS Sans Serif";
  for (const uitest::Placed& placed : {
           uitest::Placed{"cmdCheck", {272, 16, 81, 33}, "Arial", 12, true},
           {"Frame1", {8, 8, 233, 121}, ms, 8.25, true},
           {"txtPosto", {176, 88, 25, 19}, ms, 8.25, false},
           {"txtPath", {8, 88, 145, 19}, ms, 8.25, false},
           {"txtIP", {120, 40, 97, 19}, ms, 8.25, false},
           {"txtServer", {8, 40, 105, 19}, ms, 8.25, false},
           {"Label5", {176, 72, 49, 17}, ms, 8.25, false},
           {"Label3", {8, 72, 121, 17}, ms, 8.25, false},
           {"Label2", {120, 24, 81, 17}, ms, 8.25, false},
           {"Label1", {8, 24, 81, 17}, ms, 8.25, false},
           {"cmdEsci", {272, 96, 81, 33}, "Arial", 12, true},
           {"cmdInstalla", {272, 56, 81, 33}, "Arial", 12, true},
           {"dlbDrive", {8, 160, 137, 21}, ms, 8.25, false},
           {"lblAttendi", {168, 152, 185, 33}, "Arial", 12, false},
           {"Label4", {8, 144, 137, 17}, ms, 8.25, false},
       })
    expectPlaced(window, placed);
  // The controls inside the frame are placed relative to it.
  EXPECT_EQ(control(Form::kMain, "txtPosto")->parentWidget()->objectName(), "Frame1");

  EXPECT_EQ(control<QGroupBox>(Form::kMain, "Frame1")->title(), "Dati del Server");
  for (auto [name, text] : {std::pair{"txtIP", "255.255.255.255"},
                            {"txtServer", ""},
                            {"txtPath", ""},
                            {"txtPosto", ""},
                            {"Label1", "Nome"},
                            {"Label2", "Indirizzo IP"},
                            {"Label3", "Cartella dati Client"},
                            {"Label4", "Drive locale di destinazione"},
                            {"Label5", "N. client"},
                            {"cmdCheck", "Verifica"},
                            {"cmdInstalla", "Installa"},
                            {"cmdEsci", "Esci"}})
    EXPECT_EQ(control(Form::kMain, name)->property("text").toString(), text) << name;
  EXPECT_FALSE(control(Form::kMain, "lblAttendi")->isVisible());
  // No button answers Enter or Esc.
  for (QPushButton* button : window->findChildren<QPushButton*>())
    EXPECT_FALSE(button->isDefault() || button->autoDefault())
        << button->objectName().toStdString();

  // Measures follow the screen's twips per pixel.
  QtUi ui12(Twips(12));
  ui12.attach(app);
  ui12.show(Form::kMain);
  QCoreApplication::processEvents();
  EXPECT_EQ(ui12.mainWindow()->client()->size(), QSize(476, 261));
  EXPECT_EQ(ui12.mainWindow()->findChild<QWidget*>("cmdCheck")->geometry(),
            QRect(340, 20, 101, 41));
}

TEST_F(MainWindowTest, TabOrderAndMenus) {
  FrmMainWindow* window = shownMainWindow();
  QWidget* dlbDrive = control(Form::kMain, "dlbDrive");
  EXPECT_EQ(tabChain(dlbDrive), QStringList({"dlbDrive", "cmdInstalla", "cmdEsci", "txtServer",
                                             "txtIP", "txtPath", "cmdCheck", "txtPosto"}));
  EXPECT_EQ(window->focusWidget(), dlbDrive);
  // Tab moves on from one control to the next, and wraps round.
  window->activateWindow();
  dlbDrive->setFocus();
  for (const char* next : {"cmdInstalla", "cmdEsci", "txtServer", "txtIP", "txtPath", "cmdCheck",
                           "txtPosto", "dlbDrive"}) {
    pressKey(window, Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget()->objectName(), next);
  }

  struct Item {
    QString name, caption;
  };
  const QList<std::pair<Item, QList<Item>>> menus = {
      {{"mnuFile", "File"}, {{"mnuServer", "Nome Server"}, {"mnuEsci", "Esci"}}},
      {{"mnuEsegui", "Esegui"},
       {{"mnuInstalla", "Installa Client"}, {"mnuVer", "Verifica installazione"}}},
      {{"mnuHelp", "?"}, {{"mnuSommario", "Sommario"}, {"mnuInfo", "Informazioni"}}},
  };
  QList<QAction*> tops = window->menuBar()->actions();
  ASSERT_EQ(tops.size(), menus.size());
  for (int m = 0; m < menus.size(); ++m) {
    QMenu* menu = tops[m]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), menus[m].first.name);
    EXPECT_EQ(menu->title(), menus[m].first.caption);
    QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), menus[m].second.size());
    for (int i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i]->objectName(), menus[m].second[i].name);
      EXPECT_EQ(items[i]->text(), menus[m].second[i].caption);
      EXPECT_TRUE(items[i]->shortcut().isEmpty());
    }
  }
}

TEST_F(MainWindowTest, FieldsFollowTheRecordBothWays) {
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

TEST_F(MainWindowTest, StartUpFillsTheWindowFromTheSettingsFile) {
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

TEST_F(MainWindowTest, CancelledServerNameEndsTheInstaller) {
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

TEST_F(MainWindowTest, InformazioniShowsTheAboutWindowAndSommarioNothing) {
  FrmMainWindow* window = shownMainWindow();
  window->findChild<QAction*>("mnuInfo")->trigger();
  ASSERT_NE(ui.window(Form::kAbout), nullptr);
  EXPECT_TRUE(ui.window(Form::kAbout)->isVisible());
  window->findChild<QAction*>("mnuSommario")->trigger();
  EXPECT_FALSE(ui.ended());
  EXPECT_EQ(ui.window(Form::kVer), nullptr);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, ClosingCleansUpAndEndsButEsciJustEnds) {
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

}  // namespace
}  // namespace zepo::qt
