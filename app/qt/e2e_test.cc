// The installer run through the real windows on the demo workstation, as an
// operator would: an install from the start-up's input box, a check that
// finds the server missing from hosts, its report, the repair and a second
// check. What the runs leave on disk the logic tests hold.
#include <QPlainTextEdit>
#include <QtTest/QTest>
#include <filesystem>

#include "app/qt/test_app.h"
#include "install/install_test_fixture.h"
#include "shell/main_window.h"

namespace zepo::qt {
namespace {

namespace fs = std::filesystem;
using forms::test::Close;
using testing::hostsFolder;
using uitest::answerBoxes;

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() {
    uitest::application();
    ui.attach(app);
  }
  ~EndToEndTest() override { uitest::deleteUnloadedWindows(); }

  template <typename Widget = QWidget>
  Widget* control(Form form, const std::string& name) {
    return uitest::control<Widget>(ui, form, name);
  }
  std::string text(Form form, const std::string& name) { return driver.text(form, name); }
  // A left click in the middle of a button; `boxes` answer what it opens.
  void click(Form form, const char* name, QList<uitest::Answer> boxes = {}) {
    QWidget* button = control(form, name);
    ASSERT_TRUE(button->isVisible()) << name;
    answerBoxes(boxes, [&] { QTest::mouseClick(button, Qt::LeftButton); });
  }

  // Start-up as main() makes it, then workstation 7 typed into txtPosto and
  // "Installa" clicked, every box answered OK.
  void install() {
    bool goesOn = false;
    answerBoxes({{"Inserire il nome del server", Close::kEnter, "ZEPOSRV"}},
                [&] { goesOn = ui.runEvent(frmMain::Form_Load); });
    EXPECT_TRUE(goesOn);
    ui.show(Form::kMain);
    QCoreApplication::processEvents();
    QTest::keyClicks(control(Form::kMain, "txtPosto"), "7");
    click(Form::kMain, "cmdInstalla",
          {{"Sorgente dati   ZEPOSRV\\zepo\\dati\nCreo il client su d:"},
           {"Aggiornamento file di sistema completato.\nProcedo con la copia dei file?"},
           {"Installazione completata."}});
  }

  TestWorkstation demo{TestWorkstation::demo()};
  QtUi ui{Twips::ofScreen()};
  Installer app{demo.platform(), ui};
  uitest::Driver driver{ui, app};
  const std::string hosts = hostsFolder(demo.platform()) + "\\hosts";
};

TEST_F(EndToEndTest, InstallThenCheckReportRepairAndCheckAgain) {
  ASSERT_NO_FATAL_FAILURE(install());
  // The settings file on the share filled the window.
  EXPECT_EQ(text(Form::kMain, "txtIP"), "192.0.2.10");
  EXPECT_EQ(text(Form::kMain, "txtPath"), "dati");
  EXPECT_EQ(text(Form::kMain, "dlbDrive"), "d: [DATI]");
  EXPECT_FALSE(driver.shown(Form::kMain, "lblAttendi"));
  EXPECT_TRUE(demo.isFolder("d:\\zepo\\prog\\moduli"));

  const std::string installed = demo.readFile(hosts);
  const std::string serverLine = "192.0.2.10\tZEPOSRV\r\n";
  std::string broken = installed;
  ASSERT_NE(broken.find(serverLine), std::string::npos);
  demo.writeFile(hosts, broken.erase(broken.find(serverLine), serverLine.size()));

  click(Form::kMain, "cmdCheck");
  QWidget* ver = ui.window(Form::kVer);
  ASSERT_NE(ver, nullptr);
  EXPECT_TRUE(ver->isVisible());
  auto folderRowsRight = [&] {
    const char* folders[] = {"D:\\ZEPO", "D:\\ZEPO\\PROG", "D:\\ZEPO\\TEMP", "D:\\ZEPO\\TXT",
                             "D:\\ZEPO\\WEXA36"};
    for (int i = 0; i < EsitoVerifica::kRows; ++i) {
      EXPECT_EQ(text(Form::kVer, "txtDir_" + std::to_string(i)), folders[i]);
      EXPECT_EQ(text(Form::kVer, "txtCheck_" + std::to_string(i)), "OK") << i;
    }
  };
  folderRowsRight();
  auto* txtSistema = control<QLineEdit>(Form::kVer, "txtSistema");
  auto boldRed = [&] {
    return txtSistema->font().bold() &&
           txtSistema->palette().color(QPalette::Disabled, QPalette::Text) == QColor(255, 0, 0);
  };
  EXPECT_EQ(txtSistema->text(), "ERR");
  EXPECT_TRUE(boldRed());
  EXPECT_FALSE(control<QLineEdit>(Form::kVer, "txtCheck_0")->font().bold());
  // Shown, "Ripara" takes its place in the focus chain.
  EXPECT_EQ(uitest::tabChain(control(Form::kVer, "cmdTorna")).value(1), "cmdRipara");
  EXPECT_EQ(text(Form::kVer, "lblTotale"), "L'installazione presenta degli errori");

  // The run made the report window without showing it; the button shows it.
  QWidget* report = ui.window(Form::kReport);
  ASSERT_NE(report, nullptr);
  EXPECT_FALSE(report->isVisible());
  click(Form::kVer, "cmdReport");
  EXPECT_TRUE(report->isVisible());
  auto* txtReport = control<QPlainTextEdit>(Form::kReport, "txtReport");
  EXPECT_EQ(txtReport->toPlainText(), "Errore nel file HOSTS\n");

  // The repair asks nothing and puts the server's line back.
  click(Form::kVer, "cmdRipara");
  EXPECT_FALSE(ver->isVisible());
  EXPECT_EQ(demo.readFile(hosts), installed);

  // The same window again: everything right, the system files' box still
  // bold red from the first run, the report window emptied.
  click(Form::kMain, "cmdCheck");
  EXPECT_EQ(ui.window(Form::kVer), ver);
  folderRowsRight();
  EXPECT_EQ(txtSistema->text(), "OK");
  EXPECT_TRUE(boldRed());
  EXPECT_EQ(text(Form::kVer, "lblTotale"), "Nessun errore");
  EXPECT_FALSE(control(Form::kVer, "cmdReport")->isEnabled());
  EXPECT_FALSE(driver.shown(Form::kVer, "cmdRipara"));
  EXPECT_EQ(txtReport->toPlainText(), "");

  // A box during a run on a new window shows over the rows as they are
  // then, not as the run showed the window.
  ui.unload(Form::kVer);
  app.esito = {};
  fs::remove(demo.hostPath(hostsFolder(demo.platform()) + "\\services"));
  click(Form::kMain, "cmdCheck",
        {{"Errore durante l'agg. dei file di sistema", Close::kEnter, "", folderRowsRight}});
}

}  // namespace
}  // namespace zepo::qt
