#include "app/frm_about.h"

#include <QPushButton>

#include "app/controls.h"
#include "app/test_app.h"
#include "shell/main_window.h"

namespace zepo::qt {
namespace {

using uitest::expectPlaced;
using uitest::pressKey;

class AboutWindowTest : public uitest::UiTest {
 protected:
  QWidget* openAbout() {
    EXPECT_TRUE(ui.runEvent(frmMain::mnuInfo_Click));
    return ui.window(Form::kAbout);
  }
};

TEST_F(AboutWindowTest, LayoutAsDesigned) {
  QWidget* about = openAbout();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->windowTitle(), "Informazioni su clientZEPO");
  EXPECT_EQ(about->size(), QSize(381, 287));
  EXPECT_EQ(about->minimumSize(), about->maximumSize());
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(about->isModal());

  const char* ms = "MS Sans Serif";
  for (const uitest::Placed& placed : {
           uitest::Placed{"picIcon", {8, 16, 199, 117}, ms, 8.25, false},
           {"lblTitle", {224, 16, 139, 32}, ms, 8.25, false},
           {"lblVersion", {224, 52, 133, 15}, ms, 8.25, false},
           {"lblDescription", {224, 75, 131, 38}, ms, 8.25, false},
           {"Label1", {16, 176, 185, 17}, "Arial", 9.75, true},
           {"Label2", {16, 200, 185, 17}, "Arial", 8.25, false},
           {"Label3", {16, 216, 193, 17}, "Arial", 8.25, false},
           {"Picture1", {216, 160, 145, 113}, ms, 8.25, false},
           {"cmdOK", {64, 248, 84, 23}, ms, 8.25, false},
       })
    expectPlaced(about, placed);

  EXPECT_EQ(control<QLabel>(Form::kAbout, "lblTitle")->text(), "clientZEPO");
  EXPECT_EQ(control<QLabel>(Form::kAbout, "lblVersion")->text(), "Versione 3.0.0");
  EXPECT_EQ(control<QLabel>(Form::kAbout, "lblDescription")->text(),
            "Procedura di installazione del lato client di ZEPO");
  for (const char* line : {"Label1", "Label2", "Label3"})
    EXPECT_FALSE(control<QLabel>(Form::kAbout, line)->text().isEmpty()) << line;
  EXPECT_EQ(control<QLabel>(Form::kAbout, "picIcon")->pixmap().size(), QSize(195, 113));
  EXPECT_EQ(control<QLabel>(Form::kAbout, "Picture1")->pixmap().size(), QSize(120, 102));

  // The etched separator: the grey line over the white band.
  auto* grey = control<LineControl>(Form::kAbout, "Line1_1");
  auto* white = control<LineControl>(Form::kAbout, "Line1_0");
  EXPECT_EQ(grey->geometry(), QRect(6, 152, 371, 1));
  EXPECT_EQ(grey->colour(), QColor(128, 128, 128));
  EXPECT_EQ(white->geometry(), QRect(7, 152, 370, 2));
  EXPECT_EQ(white->colour(), QColor(255, 255, 255));
  QObjectList stack = about->children();
  EXPECT_GT(stack.indexOf(grey), stack.indexOf(white));
  QImage shown = about->grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(100, 152)), QColor(128, 128, 128));
  EXPECT_EQ(QColor(shown.pixel(100, 153)), QColor(255, 255, 255));

  auto* cmdOK = control<QPushButton>(Form::kAbout, "cmdOK");
  EXPECT_EQ(cmdOK->text(), "OK");
  EXPECT_TRUE(cmdOK->isDefault());
}

TEST_F(AboutWindowTest, EnterEscAndTheCloseBoxCloseItAsOk) {
  using Close = std::function<void(QWidget*)>;
  auto pressed = [](int key) { return Close([key](QWidget* about) { pressKey(about, key); }); };
  for (const Close& close : {pressed(Qt::Key_Return), pressed(Qt::Key_Escape),
                             Close([](QWidget* about) { about->close(); })}) {
    QWidget* about = openAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(app.frmAboutLoaded);
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
