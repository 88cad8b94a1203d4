// A check, a repair and a second check through the real windows, on the
// demo workstation after an install whose hosts file lost the server.
#include <QPlainTextEdit>
#include <filesystem>

#include "app/qt/e2e_driver.h"
#include "install/install_test_fixture.h"
#include "shell/settings.h"

namespace zepo::qt::e2e {
namespace {

using testing::hostsFolder;

class CheckEndToEndTest : public EndToEndTest {
 protected:
  QLineEdit* box(const char* name) { return control<QLineEdit>(Form::kVer, name); }
  QLineEdit* row(int i) { return box(QString("txtCheck_%1").arg(i).toUtf8()); }
  // Clicks "Verifica" in the main window; no box may open.
  void check() {
    ModalScript().run([&] { click(control(Form::kMain, "cmdCheck")); });
  }
  static bool boldRed(QLineEdit* box) {
    QPalette::ColorGroup group = box->isEnabled() ? QPalette::Active : QPalette::Disabled;
    return box->font().bold() && box->palette().color(group, QPalette::Text) == QColor(255, 0, 0);
  }
};

TEST_F(CheckEndToEndTest, HostsWithoutTheServerIsFoundReportedAndRepaired) {
  ASSERT_NO_FATAL_FAILURE(startUp());
  install("7");
  const std::string hosts = hostsFolder(demo.platform()) + "\\hosts";
  const std::string installed = demo.readFile(hosts);
  const std::string serverLine = "192.0.2.10\tZEPOSRV\r\n";
  std::string broken = installed;
  ASSERT_NE(broken.find(serverLine), std::string::npos);
  broken.erase(broken.find(serverLine), serverLine.size());
  demo.writeFile(hosts, broken);

  check();
  QWidget* ver = ui.window(Form::kVer);
  ASSERT_NE(ver, nullptr);
  EXPECT_TRUE(ver->isVisible());
  const char* folders[] = {"D:\\ZEPO", "D:\\ZEPO\\PROG", "D:\\ZEPO\\TEMP", "D:\\ZEPO\\TXT",
                           "D:\\ZEPO\\WEXA36"};
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    EXPECT_EQ(box(QString("txtDir_%1").arg(i).toUtf8())->text().toStdString(), folders[i]);
    EXPECT_EQ(row(i)->text(), "OK") << i;
    EXPECT_FALSE(boldRed(row(i))) << i;
  }
  EXPECT_EQ(box("txtSistema")->text(), "ERR");
  EXPECT_TRUE(boldRed(box("txtSistema")));
  EXPECT_TRUE(control(Form::kVer, "cmdRipara")->isVisible());
  EXPECT_EQ(control<QLabel>(Form::kVer, "lblTotale")->text(),
            "L'installazione presenta degli errori");
  EXPECT_TRUE(control(Form::kVer, "cmdReport")->isEnabled());

  // The run made the report window without showing it; the button shows it.
  QWidget* report = ui.window(Form::kReport);
  ASSERT_NE(report, nullptr);
  EXPECT_FALSE(report->isVisible());
  ModalScript().run([&] { click(control(Form::kVer, "cmdReport")); });
  EXPECT_EQ(ui.window(Form::kReport), report);
  EXPECT_TRUE(report->isVisible());
  auto* txtReport = control<QPlainTextEdit>(Form::kReport, "txtReport");
  EXPECT_EQ(txtReport->toPlainText(), "Errore nel file HOSTS\n");

  // The repair asks nothing, puts the server's line back and gives the
  // client the server's INI template again without the copy phase's entries.
  ModalScript().run([&] { click(control(Form::kVer, "cmdRipara")); });
  EXPECT_FALSE(ver->isVisible());
  EXPECT_EQ(ui.window(Form::kVer), ver);
  EXPECT_EQ(demo.readFile(hosts), installed);
  auto processOffset = [&](const std::string& file) {
    return readProfileString(demo.platform(), "Abal~Context", "ProcessOffset", file);
  };
  EXPECT_EQ(processOffset("d:\\zepo\\zepo.ini"),
            processOffset("\\\\ZEPOSRV\\zepo\\client\\zepo.ini"));
  EXPECT_NE(processOffset("d:\\zepo\\zepo.ini"), "70");

  // The same window again: everything right, the system files' box still
  // bold red from the first run.
  check();
  EXPECT_EQ(ui.window(Form::kVer), ver);
  EXPECT_TRUE(ver->isVisible());
  for (int i = 0; i < EsitoVerifica::kRows; ++i) EXPECT_EQ(row(i)->text(), "OK") << i;
  EXPECT_EQ(box("txtSistema")->text(), "OK");
  EXPECT_TRUE(boldRed(box("txtSistema")));
  EXPECT_EQ(control<QLabel>(Form::kVer, "lblTotale")->text(), "Nessun errore");
  EXPECT_FALSE(control(Form::kVer, "cmdReport")->isEnabled());
  EXPECT_FALSE(control(Form::kVer, "cmdRipara")->isVisible());
  // The report window, still open, was emptied by the run.
  EXPECT_EQ(txtReport->toPlainText(), "");
}

TEST_F(CheckEndToEndTest, BoxDuringTheRunShowsTheWindowFilledSoFar) {
  ASSERT_NO_FATAL_FAILURE(startUp());
  install("7");
  std::filesystem::remove(demo.hostPath(hostsFolder(demo.platform()) + "\\services"));

  // The system files' check fails on the missing file after the folder rows
  // were filled: its box shows over the rows as they are, not as the window
  // was when the run showed it.
  ModalScript()
      .click("OK", "Errore durante l'agg. dei file di sistema",
             [&] {
               const char* folders[] = {"D:\\ZEPO", "D:\\ZEPO\\PROG", "D:\\ZEPO\\TEMP",
                                        "D:\\ZEPO\\TXT", "D:\\ZEPO\\WEXA36"};
               for (int i = 0; i < EsitoVerifica::kRows; ++i) {
                 EXPECT_EQ(box(QString("txtDir_%1").arg(i).toUtf8())->text().toStdString(),
                           folders[i]);
                 EXPECT_EQ(row(i)->text().toStdString(), "OK") << i;
               }
             })
      .run([&] { click(control(Form::kMain, "cmdCheck")); });
}

}  // namespace
}  // namespace zepo::qt::e2e
