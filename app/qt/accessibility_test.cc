// What a screen reader says of every control of the windows, read through
// Qt's accessibility interfaces as the bridge to the screen readers reads
// them; and the faces that the captions are seen in.
#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenuBar>
#include <map>

#include "app/qt/test_app.h"
#include "check/check_run.h"
#include "shell/main_window.h"

namespace zepo::qt {
namespace {

using Role = QAccessible::Role;

struct Said {
  Role role;
  QString name;
};

// What a screen reader says a control is. A drop-down list's name is its
// value; the reader names it by the label that the list is labelled by.
QString nameSaid(QAccessibleInterface* control) {
  if (control->role() != QAccessible::ComboBox) return control->text(QAccessible::Name);
  const auto labels = control->relations(QAccessible::Label);
  return labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name);
}

// Every object of a window's accessible tree, by its name (a menu by its
// caption), with what the reader says of it.
void walk(QAccessibleInterface* node, std::map<QString, Said>& said) {
  for (int i = 0; i < node->childCount(); ++i) {
    QAccessibleInterface* child = node->child(i);
    if (!child) continue;
    QString key = child->object() ? child->object()->objectName() : QString();
    if (key.isEmpty()) key = child->text(QAccessible::Name);
    said[key] = {child->role(), nameSaid(child)};
    walk(child, said);
  }
}

std::map<QString, Said> walk(QWidget* window) {
  std::map<QString, Said> said;
  walk(QAccessible::queryAccessibleInterface(window), said);
  return said;
}

// What a screen reader says of the controls: the main window's (its labels
// say their captions), the check window's rows after a check run, fields
// that no label names.
struct Expected {
  const char* window;
  const char* control;
  Role role;
  const char* name;
};
const Expected kSaid[] = {
    {"InputBox", "field", QAccessible::EditableText, "Inserire il nome del server"},
    {"frmMain", "File", QAccessible::MenuItem, "File"},
    {"frmMain", "Esegui", QAccessible::MenuItem, "Esegui"},
    {"frmMain", "?", QAccessible::MenuItem, "?"},
    {"frmMain", "dlbDrive", QAccessible::ComboBox, "Drive locale di destinazione"},
    {"frmMain", "cmdInstalla", QAccessible::Button, "Installa"},
    {"frmMain", "cmdEsci", QAccessible::Button, "Esci"},
    {"frmMain", "Frame1", QAccessible::Grouping, "Dati del Server"},
    {"frmMain", "txtServer", QAccessible::EditableText, "Nome"},
    {"frmMain", "txtIP", QAccessible::EditableText, "Indirizzo IP"},
    {"frmMain", "txtPath", QAccessible::EditableText, "Cartella dati Client"},
    {"frmMain", "cmdCheck", QAccessible::Button, "Verifica"},
    {"frmMain", "txtPosto", QAccessible::EditableText, "N. client"},
    {"frmVer", "txtDir_0", QAccessible::EditableText, "Cartella D:\\ZEPO"},
    {"frmVer", "txtCheck_0", QAccessible::EditableText, "Stato D:\\ZEPO"},
    {"frmVer", "txtDir_4", QAccessible::EditableText, "Cartella D:\\ZEPO\\WEXA36"},
    {"frmVer", "txtCheck_4", QAccessible::EditableText, "Stato D:\\ZEPO\\WEXA36"},
    {"frmVer", "txtSistema", QAccessible::EditableText, "Files .INI"},
    {"frmVer", "cmdRipara", QAccessible::Button, "Ripara"},
    {"frmReport", "txtReport", QAccessible::EditableText, "Report Errori"},
};

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

TEST_F(AccessibilityTest, EveryControlIsNamedAsTheOperatorSeesIt) {
  std::map<QString, std::map<QString, Said>> windows;
  uitest::whileModal(
      [&](QWidget* box) {
        windows[box->objectName()] = walk(box);
        box->findChild<QLineEdit*>()->setText("ZEPOSRV");
        box->findChild<QPushButton*>("OK")->click();
      },
      [&] { return ui.runEvent(frmMain::Form_Load); });
  ui.show(Form::kMain);
  uitest::answerBoxes({}, [&] { return ui.runEvent(frmMain::cmdCheck_Click); });
  ui.runEvent(frmMain::mnuInfo_Click);
  for (Form form : {Form::kMain, Form::kVer, Form::kReport, Form::kAbout})
    windows[ui.window(form)->objectName()] = walk(ui.window(form));

  for (const Expected& row : kSaid) {
    SCOPED_TRACE(std::string(row.window) + " " + row.control);
    const Said& said = windows[row.window][row.control];
    EXPECT_EQ(said.role, row.role);
    EXPECT_EQ(said.name.toStdString(), row.name);
  }
  // In every window, each control that takes the focus says a name of its
  // own.
  for (const auto& [window, controls] : windows) {
    std::map<QString, QString> named;
    for (const auto& [control, said] : controls) {
      if (said.role != QAccessible::EditableText && said.role != QAccessible::Button &&
          said.role != QAccessible::ComboBox)
        continue;
      EXPECT_FALSE(said.name.isEmpty()) << qPrintable(window + " " + control);
      EXPECT_TRUE(named.emplace(said.name, control).second)
          << qPrintable(window + ": " + control + " and " + named[said.name] + " say " + said.name);
    }
  }
}

// "Ripara" is seen in a heavy face, Arial Black or the heaviest style of the
// face that stands in for it; the menus in the menu bar's face.
TEST_F(AccessibilityTest, CaptionsAndMenusInTheirFaces) {
  FrmVerWindow ver(ui);
  const QFontInfo ripara(ver.findChild<QWidget*>("cmdRipara")->font());
  const QString face = ripara.family();
  for (const QString& style : QFontDatabase::styles(face))
    EXPECT_LE(QFontDatabase::weight(face, style), QFontDatabase::weight(face, ripara.styleName()))
        << qPrintable(face + " " + style + " is heavier than " + ripara.styleName());
  FrmMainWindow main(ui);
  const QFontInfo bar(main.menuBar()->font());
  for (QAction* item : main.menuBar()->actions()) {
    QMenu* menu = item->menu();
    SCOPED_TRACE(menu->objectName().toStdString());
    EXPECT_EQ(QFontInfo(menu->font()).family(), bar.family());
    EXPECT_EQ(QFontInfo(menu->font()).pointSizeF(), bar.pointSizeF());
  }
}

}  // namespace
}  // namespace zepo::qt
