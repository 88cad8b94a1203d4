#include "app/qt/qt_ui.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/qt/test_app.h"
#include "platform/errors.h"

namespace zepo::qt {
namespace {

using uitest::pressKey;
using uitest::sendKey;
using uitest::whileModal;

using QtUiTest = uitest::UiTest;

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
};

std::function<void(QWidget*)> noteAndAccept(SeenBox& seen) {
  return [&seen](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())};
    pressKey(box, Qt::Key_Return);
  };
}

TEST_F(QtUiTest, UntrappedRuntimeErrorShowsTheRuntimeBoxThenEnds) {
  ui.show(Form::kMain);
  ui.show(Form::kReport);
  SeenBox seen;
  bool goesOn = whileModal(noteAndAccept(seen), [&] {
    return ui.runEvent([](Installer&) { throw RuntimeError(kErrFileNotFound); });
  });
  EXPECT_FALSE(goesOn);
  EXPECT_EQ(seen.title, "clientZEPO");
  EXPECT_EQ(seen.text, "Errore di run-time '53':\n\nImpossibile trovare il file");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_TRUE(ui.ended());
  EXPECT_EQ(ui.exitCode(), 1);
  EXPECT_FALSE(ui.window(Form::kMain)->isVisible());
  EXPECT_FALSE(ui.window(Form::kReport)->isVisible());
  // Nothing runs once the installer has ended.
  bool ran = false;
  EXPECT_FALSE(ui.runEvent([&](Installer&) { ran = true; }));
  EXPECT_FALSE(ran);
}

TEST_F(QtUiTest, DriveThatWentAwayEndsThroughTheRuntimeBox) {
  app.frmMain.drive = "c:";
  ui.show(Form::kMain);
  std::filesystem::remove(ws.dir() + "/dosdevices/d:");
  auto* dlbDrive = ui.mainWindow()->findChild<QComboBox*>("dlbDrive");
  SeenBox seen;
  whileModal(noteAndAccept(seen), [&] {
    sendKey(dlbDrive, Qt::Key_Down);
    return 0;
  });
  EXPECT_EQ(seen.text, "Errore di run-time '68':\n\nPeriferica non disponibile");
  EXPECT_TRUE(ui.ended());
}

TEST_F(QtUiTest, EndOfTheInstallerQuitsWithoutABox) {
  ui.show(Form::kMain);
  int boxes = 0;
  whileModal([&](QWidget* box) { ++boxes, box->close(); },
             [&] { return ui.runEvent([](Installer&) { endInstaller(); }); });
  EXPECT_EQ(boxes, 0);
  EXPECT_TRUE(ui.ended());
  EXPECT_EQ(ui.exitCode(), 0);
  EXPECT_FALSE(ui.window(Form::kMain)->isVisible());
}

TEST_F(QtUiTest, OneWindowOfEachKindShownHiddenRefreshedUnloaded) {
  EXPECT_EQ(ui.window(Form::kReport), nullptr);
  app.esito.txtReport = "prima";
  ui.show(Form::kReport);
  QWidget* report = ui.window(Form::kReport);
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->isVisible());
  ui.show(Form::kReport);
  EXPECT_EQ(ui.window(Form::kReport), report);

  // A refresh shows the record at once, without the event loop.
  app.esito.txtReport = "dopo";
  ui.refresh(Form::kReport);
  EXPECT_EQ(report->findChild<QPlainTextEdit*>("txtReport")->toPlainText(), "dopo");

  ui.hide(Form::kReport);
  EXPECT_FALSE(report->isVisible());
  EXPECT_EQ(ui.window(Form::kReport), report);

  ui.unload(Form::kReport);
  EXPECT_EQ(ui.window(Form::kReport), nullptr);
  // A refresh of a window not yet made makes it, hidden.
  ui.refresh(Form::kVer);
  ASSERT_NE(ui.window(Form::kVer), nullptr);
  EXPECT_FALSE(ui.window(Form::kVer)->isVisible());
}

// What the Qt front end reads of an 800-pixel screen at the usual scalings
// (100 %, 104 %, 125 %, 150 %, 200 %): its width in device pixels, and
// 1440 / dots per inch twips to a pixel, a fraction at 100 and 144 dpi.
// Each reading is a process of its own, as the application fixes the
// screen's scaling when it starts; the child prints what it reads.
TEST(QtScreenFacts, DevicePixelsAndUnroundedTwipsAtEveryScaling) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (int dpi : {96, 100, 120, 144, 192}) {
    const QString config = dir.filePath(QString("screen-%1.json").arg(dpi));
    FILE* file = std::fopen(config.toLocal8Bit().constData(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file,
                 "{\"screens\": [{\"name\": \"S\", \"x\": 0, \"y\": 0, \"width\": 800, "
                 "\"height\": 600, \"logicalDpi\": %d, \"logicalBaseDpi\": 96, \"dpr\": 1}]}",
                 dpi);
    std::fclose(file);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    env.insert("ZEPO_SCREEN_FACTS", "1");
    child.setProcessEnvironment(env);
    child.start("/proc/self/exe", {"--gtest_filter=QtScreenFactsChild.*"});
    ASSERT_TRUE(child.waitForFinished(30000)) << dpi;
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    double width = 0, perPixel = 0;
    const qsizetype at = out.indexOf("facts ");
    ASSERT_GE(at, 0) << out.toStdString();
    ASSERT_EQ(std::sscanf(out.mid(at).toLatin1().constData(), "facts %lf %lf", &width, &perPixel),
              2);
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
