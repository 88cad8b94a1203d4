// What a screen reader says of every control of the windows, read through
// Qt's accessibility interfaces as the bridge to the screen readers reads
// them.
#include <QAccessible>
#include <map>

#include "app/qt/test_app.h"
#include "check/check_run.h"
#include "shell/main_window.h"

namespace zepo::qt {
namespace {

using Role = QAccessible::Role;

// What a screen reader says a control is, and its name. A drop-down list's
// name is its value; the reader names it by the label that the list is
// labelled by.
std::pair<Role, std::string> said(QWidget* widget) {
  QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
  QString name = control->text(QAccessible::Name);
  if (control->role() == QAccessible::ComboBox) {
    const auto labels = control->relations(QAccessible::Label);
    name = labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name);
  }
  return {control->role(), name.toStdString()};
}

class AccessibilityTest : public ::testing::Test {
 protected:
  AccessibilityTest() {
    uitest::application();
    ui.attach(app);
  }
  ~AccessibilityTest() override { uitest::deleteUnloadedWindows(); }

  TestWorkstation demo{TestWorkstation::demo()};
  QtUi ui{Twips(15)};
  Installer app{demo.platform(), ui};
};

// The screen reader's view of the Qt windows; a control says also what it
// is, by its kind.
struct Reader : uitest::Driver {
  std::string name(Form form, const forms::ControlDesign& design) {
    const std::map<forms::Kind, Role> roles = {{forms::Kind::kButton, QAccessible::Button},
                                               {forms::Kind::kDriveList, QAccessible::ComboBox}};
    auto [role, name] = said(uitest::control(ui, form, design.name));
    EXPECT_EQ(role, roles.contains(design.kind) ? roles.at(design.kind) : QAccessible::EditableText)
        << design.name;
    return name;
  }
};

// The windows after a start-up and a check run on the demo workstation:
// each control says its name; a check row's says its folder; the input
// box's field says its prompt.
TEST_F(AccessibilityTest, EveryControlIsNamedAsTheOperatorSeesIt) {
  std::pair<Role, std::string> input;
  uitest::answerBoxes(
      {{"Inserire il nome del server", forms::test::Close::kEnter, "ZEPOSRV",
        [&] { input = said(QApplication::activeModalWidget()->findChild<QLineEdit*>()); }}},
      [&] { return ui.runEvent(frmMain::Form_Load); });
  EXPECT_EQ(input,
            std::pair(QAccessible::EditableText, std::string("Inserire il nome del server")));
  ui.show(Form::kMain);
  uitest::answerBoxes({}, [&] { return ui.runEvent(frmMain::cmdCheck_Click); });
  Reader reader{{ui, app}};
  forms::test::expectAccessibleNames(reader);
  EXPECT_EQ(said(ui.window(Form::kVer)->findChild<QWidget*>("txtCheck_4")).second,
            "Stato D:\\ZEPO\\WEXA36");
}

}  // namespace
}  // namespace zepo::qt
