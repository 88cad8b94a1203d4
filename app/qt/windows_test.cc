// The Qt windows' behaviour: the records going in and out of the controls,
// the windows' lives and close boxes, the end of the installer and its error
// box, and what the front end reads of the screen.
#include <QComboBox>
#include <QImageReader>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/qt/pictures.h"
#include "app/qt/test_app.h"
#include "platform/errors.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace zepo::qt {
namespace {

using uitest::pressKey;
using uitest::whileModal;

class WindowsTest : public uitest::UiTest {
 protected:
  FrmMainWindow* shownMainWindow() {
    ui.show(Form::kMain);
    QCoreApplication::processEvents();
    return ui.mainWindow();
  }
  QString text(const char* name) { return control<QLineEdit>(Form::kMain, name)->text(); }
};

TEST_F(WindowsTest, FieldsFollowTheRecordBothWays) {
  FrmMain& record = app.frmMain;
  std::string* fields[] = {&record.txtServer, &record.txtIP, &record.txtPath, &record.txtPosto};
  const char* names[] = {"txtServer", "txtIP", "txtPath", "txtPosto"};
  for (int i = 0; i < 4; ++i) *fields[i] = std::string("città ") + names[i];
  record.drive = "d: [DATI]";
  record.lblAttendiCaption = "Installazione in corso ...\r\nAttendere.";
  record.lblAttendiVisible = true;
  FrmMainWindow* window = shownMainWindow();
  for (const char* name : names) EXPECT_EQ(text(name), QString("città ") + name);
  auto* dlbDrive = control<QComboBox>(Form::kMain, "dlbDrive");
  EXPECT_EQ(dlbDrive->currentText(), "d: [DATI]");
  QStringList drives;
  for (int i = 0; i < dlbDrive->count(); ++i) drives << dlbDrive->itemText(i);
  EXPECT_EQ(drives, QStringList({"c:", "d: [DATI]"}));
  auto* lblAttendi = control<QLabel>(Form::kMain, "lblAttendi");
  EXPECT_EQ(lblAttendi->text(), "Installazione in corso ...\nAttendere.");
  EXPECT_TRUE(lblAttendi->isVisible());

  // What the operator types and picks lands in the record at once.
  for (int i = 0; i < 4; ++i) {
    auto* box = control<QLineEdit>(Form::kMain, names[i]);
    box->setFocus();
    box->selectAll();
    uitest::typeText(window, QString(names[i]) + "!");
    EXPECT_EQ(*fields[i], names[i] + std::string("!"));
  }
  pressKey(dlbDrive, Qt::Key_Up);
  EXPECT_EQ(record.drive, "c:");

  // A refresh shows a changed record, also with the label hidden again.
  record.lblAttendiVisible = false;
  record.txtIP = "192.0.2.8";
  ui.refresh(Form::kMain);
  EXPECT_FALSE(lblAttendi->isVisible());
  EXPECT_EQ(text("txtIP"), "192.0.2.8");
}

TEST_F(WindowsTest, CancelledServerNameEndsTheInstaller) {
  QStringList seen;
  EXPECT_FALSE(uitest::answerBoxes(
      {{"Inserire il nome del server", "Annulla", "ZEPOSRV"},
       {"Se non si specifica il nome del server\nil programma non può essere eseguito."}},
      [&] { return ui.runEvent(frmMain::Form_Load); }, &seen));
  EXPECT_EQ(seen.value(0), "Client ZEPO");
  EXPECT_EQ(seen.value(2), "Client ZEPO");
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
  EXPECT_FALSE(ws.exists(testFile));
}

// One window of each kind: shown again it is the same; the report's close
// box only hides it; the check window's close box unloads it.
TEST_F(WindowsTest, OneWindowOfEachKindAndWhatTheirCloseBoxesDo) {
  app.esito.txtReport = "prima\r\n";
  ui.show(Form::kReport);
  QWidget* report = ui.window(Form::kReport);
  ASSERT_NE(report, nullptr);
  auto* txtReport = control<QPlainTextEdit>(Form::kReport, "txtReport");
  EXPECT_EQ(txtReport->toPlainText(), "prima\n");
  app.esito.txtReport = "dopo";
  ui.refresh(Form::kReport);  // at once, without the event loop
  EXPECT_EQ(txtReport->toPlainText(), "dopo");
  QPointer<QWidget> alive = report;
  report->close();
  uitest::deleteUnloadedWindows();
  ASSERT_FALSE(alive.isNull());
  EXPECT_FALSE(report->isVisible());
  ui.show(Form::kReport);
  EXPECT_EQ(ui.window(Form::kReport), report);
  EXPECT_TRUE(report->isVisible());

  ui.refresh(Form::kVer);  // made, hidden
  QPointer<QWidget> ver = ui.window(Form::kVer);
  ASSERT_FALSE(ver.isNull());
  EXPECT_FALSE(ver->isVisible());
  ui.show(Form::kVer);
  whileModal([](QWidget* box) { pressKey(box, Qt::Key_Return); }, [&] { return ver->close(); });
  EXPECT_EQ(ui.window(Form::kVer), nullptr);
  uitest::deleteUnloadedWindows();
  EXPECT_TRUE(ver.isNull());
  EXPECT_FALSE(ui.ended());
}

TEST_F(WindowsTest, AboutClosesAsOkByEnterEscOrTheCloseBox) {
  auto key = [](int k) {
    return std::function<void(QWidget*)>([k](QWidget* w) { pressKey(w, k); });
  };
  for (const auto& close : {key(Qt::Key_Return), key(Qt::Key_Escape),
                            std::function<void(QWidget*)>([](QWidget* w) { w->close(); })}) {
    EXPECT_TRUE(ui.runEvent(frmMain::mnuInfo_Click));
    QWidget* about = ui.window(Form::kAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "Informazioni su clientZEPO");
    EXPECT_EQ(control<QLabel>(Form::kAbout, "lblVersion")->text(), "Versione 3.0.0");
    about->activateWindow();
    close(about);
    EXPECT_EQ(ui.window(Form::kAbout), nullptr);
    EXPECT_FALSE(app.frmAboutLoaded);
    EXPECT_FALSE(ui.ended());
    uitest::deleteUnloadedWindows();
  }
}

// An untrapped run-time error, also one met in an event of a control (the
// drive that went away), shows the error box, hides the windows and ends
// the installer with exit code 1; its end ends it without a box.
TEST_F(WindowsTest, RuntimeErrorsShowTheErrorBoxAndEnd) {
  struct Case {
    std::function<void(QtUi&)> run;
    QString box;  // none when empty
    int exitCode;
  } cases[] = {
      {[](QtUi& ui) { ui.runEvent([](Installer&) { throw RuntimeError(kErrFileNotFound); }); },
       "Errore di run-time '53':\n\nImpossibile trovare il file", 1},
      {[this](QtUi& ui) {
         std::filesystem::remove(ws.dir() + "/dosdevices/d:");
         pressKey(ui.mainWindow()->findChild<QComboBox*>("dlbDrive"), Qt::Key_Down);
       },
       "Errore di run-time '68':\n\nPeriferica non disponibile", 1},
      {[](QtUi& ui) { ui.runEvent([](Installer&) { endInstaller(); }); }, "", 0},
  };
  for (const Case& c : cases) {
    QtUi ui{Twips(15)};
    Installer installer{ws.platform(), ui};
    ui.attach(installer);
    installer.frmMain.drive = "c:";
    ui.show(Form::kMain);
    ui.show(Form::kReport);
    QStringList seen;
    QList<QMessageBox::Icon> icons;
    whileModal(
        [&](QWidget* box) {
          seen << box->windowTitle() << uitest::boxText(box);
          icons << qobject_cast<QMessageBox*>(box)->icon();
          EXPECT_EQ(box->findChildren<QPushButton*>().size(), 1);
          pressKey(box, Qt::Key_Return);
        },
        [&] { return c.run(ui), 0; });
    EXPECT_EQ(seen, c.box.isEmpty() ? QStringList() : QStringList({"clientZEPO", c.box}));
    if (!c.box.isEmpty()) {
      EXPECT_EQ(icons, QList({QMessageBox::Critical}));
    }
    EXPECT_TRUE(ui.ended());
    EXPECT_EQ(ui.exitCode(), c.exitCode);
    EXPECT_FALSE(ui.window(Form::kMain)->isVisible());
    EXPECT_FALSE(ui.window(Form::kReport)->isVisible());
    bool ran = false;  // nothing runs once the installer has ended
    EXPECT_FALSE(ui.runEvent([&](Installer&) { ran = true; }));
    EXPECT_FALSE(ran);
    uitest::deleteUnloadedWindows();
  }
}

// The Windows program's icon file, written from this drawing by draw-icons
// and kept in the sources, holds the window's 16 and 32 pixel images pixel
// for pixel, read back by Qt's own ICO reader.
TEST(Pictures, WindowsIconFileHoldsTheWindowIcon) {
  uitest::application();
  QImageReader reader(ZEPO_SOURCE_DIR "/packaging/windows/clientzepo.ico", "ico");
  QList<int> sizes;
  for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
    QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image, iconImage(image.width())) << image.width();
    sizes << image.width();
  }
  EXPECT_EQ(sizes.size(), 2);
  EXPECT_TRUE(sizes.contains(16) && sizes.contains(32));
}

// What the front end reads of an 800-pixel screen at the usual scalings
// (100 %, 104 %, 125 %, 150 %, 200 %): its width in device pixels, and
// 1440 / dots per inch twips to a pixel, a fraction at 100 and 144 dpi.
// The application fixes the screen's scaling when it starts, so each
// reading is a child process that prints what it reads.
TEST(QtScreenFacts, DevicePixelsAndUnroundedTwipsAtEveryScaling) {
  QTemporaryDir dir;
  for (int dpi : {96, 100, 120, 144, 192}) {
    const QString config = dir.filePath(QString("screen-%1.json").arg(dpi));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QString("{\"screens\": [{\"name\": \"S\", \"x\": 0, \"y\": 0, \"width\": 800, "
                       "\"height\": 600, \"logicalDpi\": %1, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                   .arg(dpi)
                   .toUtf8());
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    env.insert("ZEPO_SCREEN_FACTS", "1");
    child.setProcessEnvironment(env);
    child.start("/proc/self/exe", {"--gtest_filter=QtScreenFactsChild.*"});
    ASSERT_TRUE(child.waitForFinished(30000)) << dpi;
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    double width = 0, perPixel = 0;
    ASSERT_EQ(std::sscanf(out.mid(out.indexOf("facts ")).toLatin1().constData(), "facts %lf %lf",
                          &width, &perPixel),
              2)
        << out.toStdString();
    EXPECT_DOUBLE_EQ(perPixel, 1440.0 / dpi) << dpi;
    EXPECT_EQ(std::nearbyint(width / perPixel), 800) << dpi;
  }
}

TEST(QtScreenFactsChild, PrintsWhatTheFrontEndReads) {
  if (!std::getenv("ZEPO_SCREEN_FACTS")) GTEST_SKIP() << "started by QtScreenFacts";
  uitest::application();
  QtUi ui(Twips::ofScreen());
  std::printf("facts %.17g %.17g\n", ui.screenWidthTwips(), ui.twipsPerPixelX());
}

}  // namespace
}  // namespace zepo::qt
