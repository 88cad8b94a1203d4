// The installer run from the keyboard alone on the demo workstation: every
// key goes to the window that has the focus, which hands it to its focused
// control or to the open menu, as the keyboard's keys do. The operator
// finds the controls by what the screen reader says of them.
#include <QAccessible>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QtTest/QTest>
#include <filesystem>

#include "app/qt/test_app.h"
#include "install/install_test_fixture.h"
#include "shell/main_window.h"

namespace zepo::qt {
namespace {

namespace fs = std::filesystem;

class KeyboardTest : public ::testing::Test {
 protected:
  KeyboardTest() {
    uitest::application();
    ui.attach(app);
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &context, [this](QWindow* window) {
      if (window) focusHistory.push_back(window);
    });
  }
  ~KeyboardTest() override { uitest::deleteUnloadedWindows(); }

  // The window that has the focus, as a window manager gives it (the
  // offscreen platform has none): a box that opens takes it; when the
  // window that had it goes, the last one that had it before and still
  // shows takes it back.
  QWindow* focusWindow() {
    QWidget* modal = QApplication::activeModalWidget();
    QWindow* next = modal ? modal->windowHandle() : nullptr;
    for (auto window = focusHistory.rbegin(); !next && window != focusHistory.rend(); ++window)
      if (*window && (*window)->isVisible()) next = *window;
    if (!QApplication::activePopupWidget() && next && QGuiApplication::focusWindow() != next) {
      next->requestActivate();
      QCoreApplication::processEvents();
    }
    return QGuiApplication::focusWindow();
  }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWindow* window = focusWindow();
    ASSERT_NE(window, nullptr) << "no window has the focus";
    QTest::keyClick(window, key, modifiers);
  }
  void type(const char* text) {
    for (; *text; ++text) QTest::keyClick(focusWindow(), *text);
  }
  // What the screen reader says of the control that has the focus.
  static QString focused() {
    QWidget* widget = QApplication::focusWidget();
    return widget ? QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name) : "";
  }
  // The item marked in the open menu.
  static QString activeItem() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu && menu->activeAction() ? menu->activeAction()->text() : "";
  }
  // Tab until the control of that name has the focus.
  void tabTo(const QString& name) {
    for (int tabs = 0; tabs < 20 && focused() != name; ++tabs) press(Qt::Key_Tab);
    ASSERT_EQ(focused().toStdString(), name.toStdString());
  }
  // The start as main() makes it, the server's name typed in its box.
  void start() {
    uitest::answerBoxes({{"Inserire il nome del server", uitest::Close::kEnter, "ZEPOSRV"}},
                        [&] { ui.runEvent(frmMain::Form_Load); });
    ui.show(Form::kMain);
    QCoreApplication::processEvents();
  }

  QObject context;
  std::vector<QPointer<QWindow>> focusHistory;
  TestWorkstation demo{TestWorkstation::demo()};
  QtUi ui{Twips::ofScreen()};
  Installer app{demo.platform(), ui};
  uitest::Driver driver{ui, app};
};

// An install, a check that finds the server missing from hosts, its
// report, the repair and a second check, from the keyboard alone; what the
// windows show between. What the runs leave on disk the logic tests hold.
TEST_F(KeyboardTest, InstallCheckAndRepair) {
  start();
  // The settings file on the share filled the window.
  EXPECT_EQ(driver.text(Form::kMain, "txtIP"), "192.0.2.10");
  EXPECT_EQ(driver.text(Form::kMain, "txtPath"), "dati");
  EXPECT_EQ(driver.text(Form::kMain, "dlbDrive"), "d: [DATI]");
  tabTo("N. client");
  type("7");
  tabTo("Installa");
  uitest::answerBoxes(
      {{"Sorgente dati   ZEPOSRV\\zepo\\dati\nCreo il client su d:"},
       {"Aggiornamento file di sistema completato.\nProcedo con la copia dei file?"},
       {"Installazione completata."}},
      [this] { press(Qt::Key_Return); });
  EXPECT_FALSE(driver.shown(Form::kMain, "lblAttendi"));
  EXPECT_TRUE(demo.isFolder("d:\\zepo\\prog\\moduli"));

  const std::string hosts = testing::hostsFolder(demo.platform()) + "\\hosts";
  const std::string installed = demo.readFile(hosts);
  const std::string serverLine = "192.0.2.10\tZEPOSRV\r\n";
  std::string broken = installed;
  demo.writeFile(hosts, broken.erase(broken.find(serverLine), serverLine.size()));

  // "Verifica" from the menus: F10 opens the first, Right the next.
  auto check = [&] {
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_Right, Qt::Key_Down}) press(key);
    ASSERT_EQ(activeItem().toStdString(), "Verifica installazione");
    press(Qt::Key_Return);
  };
  auto rowsRight = [&] {
    const char* folders[] = {"D:\\ZEPO", "D:\\ZEPO\\PROG", "D:\\ZEPO\\TEMP", "D:\\ZEPO\\TXT",
                             "D:\\ZEPO\\WEXA36"};
    for (int i = 0; i < EsitoVerifica::kRows; ++i) {
      EXPECT_EQ(driver.text(Form::kVer, "txtDir_" + std::to_string(i)), folders[i]);
      EXPECT_EQ(driver.text(Form::kVer, "txtCheck_" + std::to_string(i)), "OK") << i;
    }
  };
  auto boldRed = [&](const char* name) {
    QWidget* box = uitest::control(ui, Form::kVer, name);
    return box->font().bold() &&
           box->palette().color(QPalette::Disabled, QPalette::Text) == QColor(255, 0, 0);
  };
  check();
  EXPECT_EQ(focused(), "OK");
  rowsRight();
  EXPECT_EQ(driver.text(Form::kVer, "txtSistema"), "ERR");
  EXPECT_TRUE(boldRed("txtSistema"));
  EXPECT_FALSE(boldRed("txtCheck_0"));
  EXPECT_EQ(driver.text(Form::kVer, "lblTotale"), "L'installazione presenta degli errori");
  tabTo("Report Errori");
  press(Qt::Key_Return);
  auto* report = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->toPlainText(), "Errore nel file HOSTS\n");
  tabTo("OK");
  press(Qt::Key_Return);
  EXPECT_FALSE(report->isVisible());
  tabTo("Ripara");
  uitest::answerBoxes({}, [this] { press(Qt::Key_Return); });  // it asks nothing
  EXPECT_FALSE(driver.shown(Form::kVer, ""));
  EXPECT_EQ(demo.readFile(hosts), installed);

  // Again: everything right, the system files' box still bold red from the
  // first run, the report emptied.
  check();
  rowsRight();
  EXPECT_EQ(driver.text(Form::kVer, "txtSistema"), "OK");
  EXPECT_TRUE(boldRed("txtSistema"));
  EXPECT_EQ(driver.text(Form::kVer, "lblTotale"), "Nessun errore");
  EXPECT_FALSE(uitest::control(ui, Form::kVer, "cmdReport")->isEnabled());
  EXPECT_FALSE(driver.shown(Form::kVer, "cmdRipara"));
  EXPECT_EQ(report->toPlainText(), "");
  press(Qt::Key_Return);

  // A box during a run on a new window shows over the rows as they are
  // then, not as the run showed the window.
  ui.unload(Form::kVer);
  app.esito = {};
  fs::remove(demo.hostPath(testing::hostsFolder(demo.platform()) + "\\services"));
  uitest::answerBoxes(
      {{"Errore durante l'agg. dei file di sistema", uitest::Close::kEnter, "", rowsRight}}, check);
  tabTo("OK");
  press(Qt::Key_Return);
  press(Qt::Key_F4, Qt::AltModifier);
  EXPECT_TRUE(ui.ended());
}

}  // namespace
}  // namespace zepo::qt
