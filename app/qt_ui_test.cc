#include "app/qt_ui.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <filesystem>

#include "app/test_app.h"
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

}  // namespace
}  // namespace zepo::qt
