#include "app/frm_ver.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>

#include "app/frm_report.h"
#include "app/test_app.h"

namespace zepo::qt {
namespace {

using uitest::expectPlaced;
using uitest::tabChain;
using uitest::whileModal;

using CheckWindowTest = uitest::UiTest;

TEST_F(CheckWindowTest, CheckWindowLayoutAsDesigned) {
  ui.show(Form::kVer);
  QWidget* ver = ui.window(Form::kVer);
  ASSERT_NE(ver, nullptr);
  EXPECT_EQ(ver->windowTitle(), "Verifica");
  EXPECT_EQ(ver->size(), QSize(336, 361));

  const char* ms = "MS Sans Serif";
  QList<uitest::Placed> table = {
      {"cmdTorna", {216, 160, 105, 33}, "Arial", 12, true},
      {"lblservizio", {8, 264, 137, 25}, "Arial", 12, true},
      {"lblSystem", {8, 296, 137, 25}, "Arial", 12, true},
      {"lblHost", {8, 328, 137, 25}, "Arial", 12, true},
      {"txtSistema", {176, 296, 33, 19}, ms, 8.25, false},
      {"cmdRipara", {224, 288, 89, 35}, "Arial Black", 9.75, false},
      {"Label2", {136, 256, 33, 97}, "Garamond", 60, false},
      {"Label1", {8, 72, 105, 17}, ms, 8.25, false},
      {"Frame1", {128, 72, 73, 145}, ms, 8.25, false},
      {"lblTotale", {24, 24, 289, 25}, "Arial", 12, true},
      {"cmdReport", {216, 104, 105, 41}, "Arial", 9.75, true},
  };
  for (const uitest::Placed& placed : table) expectPlaced(ver, placed);
  QWidget* frame = control(Form::kVer, "Frame1");
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    QWidget* dir = control(Form::kVer, QString("txtDir_%1").arg(i).toUtf8());
    QWidget* check = control(Form::kVer, QString("txtCheck_%1").arg(i).toUtf8());
    EXPECT_EQ(dir->geometry(), QRect(8, 96 + 24 * i, 105, 19));
    EXPECT_EQ(check->parentWidget(), frame);
    EXPECT_EQ(check->geometry(), QRect(16, 24 + 24 * i, 33, 19));
    // Each state stands level with its folder.
    EXPECT_EQ(check->mapTo(ver, QPoint(0, 0)).y(), dir->y());
  }

  for (auto [name, text] : {std::pair{"Label2", "}"},
                            {"lblservizio", "Servizio Criteria"},
                            {"lblSystem", "Files .INI"},
                            {"lblHost", "File Hosts"},
                            {"Label1", "Cartella"},
                            {"cmdTorna", "OK"},
                            {"cmdRipara", "Ripara"},
                            {"cmdReport", "Report Errori"},
                            {"txtDir_0", "Text1"},
                            {"txtCheck_4", "Text2"}})
    EXPECT_EQ(control(Form::kVer, name)->property("text").toString(), text) << name;
  EXPECT_EQ(control<QGroupBox>(Form::kVer, "Frame1")->title(), "Stato");
  EXPECT_TRUE(control<QLabel>(Form::kVer, "lblTotale")->alignment() & Qt::AlignHCenter);
  EXPECT_FALSE(control(Form::kVer, "txtSistema")->isEnabled());
  EXPECT_FALSE(control(Form::kVer, "cmdRipara")->isVisible());

  QWidget* first = control(Form::kVer, "cmdTorna");
  QStringList chain = {"cmdTorna",   "txtDir_0",   "txtDir_1",   "txtDir_2",
                       "txtDir_3",   "txtDir_4",   "txtCheck_0", "txtCheck_1",
                       "txtCheck_2", "txtCheck_3", "txtCheck_4", "cmdReport"};
  EXPECT_EQ(tabChain(first), chain);
  app.esito.cmdRiparaVisible = true;
  ui.refresh(Form::kVer);
  chain.insert(1, "cmdRipara");
  EXPECT_EQ(tabChain(first), chain);
}

TEST_F(CheckWindowTest, ReportWindowLayoutAsDesigned) {
  ui.show(Form::kReport);
  QWidget* report = ui.window(Form::kReport);
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->windowTitle(), "Report Errori");
  EXPECT_EQ(report->size(), QSize(298, 213));
  expectPlaced(report, {"txtReport", {8, 8, 281, 145}, "MS Sans Serif", 8.25, false});
  expectPlaced(report, {"cmdOK", {104, 168, 89, 33}, "Arial", 9.75, true});
  auto* txtReport = control<QPlainTextEdit>(Form::kReport, "txtReport");
  EXPECT_EQ(txtReport->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(txtReport->toPlainText(), "");
  EXPECT_EQ(control<QPushButton>(Form::kReport, "cmdOK")->text(), "OK");
  EXPECT_EQ(tabChain(txtReport), QStringList({"txtReport", "cmdOK"}));
}

TEST_F(CheckWindowTest, RecordShowsWithErrorsInBoldRed) {
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
  EXPECT_EQ(control<QLabel>(Form::kVer, "lblTotale")->text(), "Errori trovati");
  EXPECT_FALSE(control(Form::kVer, "cmdReport")->isEnabled());
  EXPECT_EQ(control<QPlainTextEdit>(Form::kReport, "txtReport")->toPlainText(),
            "Manca la cartella d:\\zepo\\prog\nManca il file d:\\zepo\\wexa36\\x.fon\n");
}

TEST_F(CheckWindowTest, ReportCloseBoxHidesCheckCloseBoxDestroys) {
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

}  // namespace
}  // namespace zepo::qt
