// The Qt windows' behaviour: the cases both front ends share (the boxes and
// their answers, the main window's record, the ends of the installer), what
// closing each window does, and what the front end reads of the screen.
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

#include "app/qt/test_app.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace zepo::qt {
namespace {

using WindowsTest = uitest::UiTest;

TEST_F(WindowsTest, BoxesAndTheirAnswers) {
  forms::test::expectBoxes(driver);
}

TEST_F(WindowsTest, MainWindowRecordBothWays) {
  forms::test::expectMainWindowRecord(driver);
}

TEST_F(WindowsTest, EndsAndRuntimeErrors) {
  for (const forms::test::EndCase& end : forms::test::kEndCases) {
    QtUi fresh{Twips(15)};
    Installer installer{ws.platform(), fresh};
    fresh.attach(installer);
    uitest::Driver freshDriver{fresh, installer};
    forms::test::expectEnd(freshDriver, end);
    uitest::deleteUnloadedWindows();
  }
}

// The main window's close box also cleans up.
TEST_F(WindowsTest, WhatClosingEachWindowDoes) {
  ws.writeFile("C:\\WINDOWS\\TEST.TXT", "prova\r\n");
  app.CartellaWindows = windowsFolder(app.platform);
  forms::test::expectClosing(driver);
  EXPECT_FALSE(ws.exists("C:\\WINDOWS\\TEST.TXT"));
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
