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

// The main window's fields say their labels' captions, the check window's
// rows their folders after a check run, the input box's field its prompt;
// in every window each control that takes the focus says a name of its own.
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
  ui.runEvent(frmMain::mnuInfo_Click);

  const struct {
    Form form;
    const char* control;
    Role role;
    const char* name;
  } kSaid[] = {
      {Form::kMain, "dlbDrive", QAccessible::ComboBox, "Drive locale di destinazione"},
      {Form::kMain, "cmdInstalla", QAccessible::Button, "Installa"},
      {Form::kMain, "Frame1", QAccessible::Grouping, "Dati del Server"},
      {Form::kMain, "txtServer", QAccessible::EditableText, "Nome"},
      {Form::kMain, "txtIP", QAccessible::EditableText, "Indirizzo IP"},
      {Form::kMain, "txtPath", QAccessible::EditableText, "Cartella dati Client"},
      {Form::kMain, "txtPosto", QAccessible::EditableText, "N. client"},
      {Form::kVer, "txtDir_4", QAccessible::EditableText, "Cartella D:\\ZEPO\\WEXA36"},
      {Form::kVer, "txtCheck_4", QAccessible::EditableText, "Stato D:\\ZEPO\\WEXA36"},
      {Form::kVer, "txtSistema", QAccessible::EditableText, "Files .INI"},
      {Form::kReport, "txtReport", QAccessible::EditableText, "Report Errori"},
  };
  for (const auto& row : kSaid) {
    EXPECT_EQ(said(ui.window(row.form)->findChild<QWidget*>(row.control)),
              std::pair(row.role, std::string(row.name)))
        << row.control;
  }
  for (Form form : {Form::kMain, Form::kVer, Form::kReport, Form::kAbout}) {
    std::map<std::string, QString> named;
    QWidget* window = ui.window(form);
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisibleTo(window)) continue;
      const std::string name = said(control).second;
      EXPECT_TRUE(!name.empty() && named.emplace(name, control->objectName()).second)
          << qPrintable(control->objectName()) << " says " << name;
    }
  }
}

}  // namespace
}  // namespace zepo::qt
