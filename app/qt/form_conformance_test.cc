// Every window as built by the Qt front end matches its table (the walk that
// both front ends share, on what Qt shows), and each button and menu item
// runs its procedure.
#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <map>
#include <memory>
#include <optional>

#include "app/forms/form_test_support.h"
#include "app/qt/form_builder.h"
#include "app/qt/test_app.h"

namespace zepo::qt {
namespace {

using forms::ControlDesign;
using forms::FormTable;
using forms::Kind;

using FormConformanceTest = uitest::UiTest;

// The window of a table built by its class.
std::unique_ptr<QWidget> build(const FormTable& table, QtUi& ui) {
  if (table.name == "frmMain") return std::make_unique<FrmMainWindow>(ui);
  if (table.name == "frmVer") return std::make_unique<FrmVerWindow>(ui);
  if (table.name == "frmReport") return std::make_unique<FrmReportWindow>(ui);
  return std::make_unique<FrmAboutWindow>(ui);
}

// What the Qt windows show of their tables.
struct QtProbe {
  Installer& app;
  std::unique_ptr<QtUi> ui = {};
  std::unique_ptr<QWidget> window = {};
  QWidget* client = nullptr;
  FrmMainWindow* main = nullptr;

  void open(const FormTable& table, double perPixel) {
    window.reset();
    if (!ui || ui->twips().perPixel() != perPixel) {
      ui = std::make_unique<QtUi>(Twips(perPixel));
      ui->attach(app);
    }
    window = build(table, *ui);
    window->show();  // lays out the area below the menu bar
    QCoreApplication::processEvents();
    main = dynamic_cast<FrmMainWindow*>(window.get());
    client = main ? main->client() : window.get();
    EXPECT_EQ(window->objectName().toStdString(), table.name);
    QList<QSize> icons = window->windowIcon().availableSizes();
    EXPECT_TRUE(icons.contains(QSize(32, 32)) && icons.contains(QSize(16, 16)));
  }
  std::string caption() { return window->windowTitle().toStdString(); }
  std::pair<int, int> clientSize() { return {client->width(), client->height()}; }
  double fontSize(double points) { return points; }

  std::optional<forms::test::ControlSeen> seen(const ControlDesign& design) {
    auto* widget = window->findChild<QWidget*>(QString::fromStdString(design.name));
    if (!widget) return std::nullopt;
    static const std::map<Kind, const char*> classes = {{Kind::kLabel, "QLabel"},
                                                        {Kind::kPicture, "QLabel"},
                                                        {Kind::kTextBox, "QLineEdit"},
                                                        {Kind::kButton, "QPushButton"},
                                                        {Kind::kFrame, "QGroupBox"},
                                                        {Kind::kDriveList, "QComboBox"},
                                                        {Kind::kMultiLineText, "QPlainTextEdit"}};
    QWidget* container =
        design.container.empty()
            ? client
            : window->findChild<QWidget*>(QString::fromStdString(design.container));
    bool ofItsKind = std::string(widget->metaObject()->className()) == classes.at(design.kind) &&
                     widget->parentWidget() == container;
    // Only a default button answers Enter.
    if (auto* button = qobject_cast<QPushButton*>(widget))
      ofItsKind &= button->isDefault() == design.defaultButton &&
                   button->autoDefault() == design.defaultButton;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      ofItsKind &= bool(label->alignment() & Qt::AlignHCenter) == design.centred;
      ofItsKind &=
          !design.blackText || label->palette().color(QPalette::WindowText) == QColor(Qt::black);
      ofItsKind &= design.kind != Kind::kPicture || !label->pixmap().isNull();
    }
    QString caption = widget->property("text").toString();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) caption = frame->title();
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) caption = text->toPlainText();
    const QPoint at = widget->mapTo(client, QPoint(0, 0));
    return forms::test::ControlSeen(ofItsKind, at.x(), at.y(), widget->width(), widget->height(),
                                    widget->isVisibleTo(window.get()), widget->isEnabled(),
                                    caption.toStdString(), widget->font().pointSizeF(),
                                    widget->font().family().toStdString(), widget->font().bold());
  }
  std::vector<std::string> tabChain() {
    std::vector<std::string> names;
    for (const QString& name : uitest::tabChain(window->focusWidget()))
      names.push_back(name.toStdString());
    return names;
  }
  std::vector<std::string> menus() {
    std::vector<std::string> captions;
    QList<QAction*> bar = main ? main->menuBar()->actions() : QList<QAction*>();
    for (QAction* menu : bar) captions.push_back(menu->text().toStdString());
    for (QAction* menu : bar)
      for (QAction* item : menu->menu()->actions())
        captions.push_back(menu->text().toStdString() + "/" + item->text().toStdString());
    return captions;
  }
  std::uint32_t pixel(int x, int y) { return client->grab().toImage().pixel(x, y) & 0xFFFFFF; }
};

TEST_F(FormConformanceTest, EveryWindowMatchesItsTable) {
  QtProbe probe{app};
  forms::test::expectWindowsMatchTheirTables(probe);
}

// Each button and menu item runs its procedure: the builder's wiring, on a
// recording runner.
TEST_F(FormConformanceTest, ButtonsAndMenuItemsRunTheirProcedures) {
  for (const FormTable* table : forms::allForms()) {
    QMainWindow window;
    std::vector<forms::Procedure> ran;
    RunProcedure record = [&ran](forms::Procedure procedure) { ran.push_back(procedure); };
    BuiltForm built = buildControls(&window, *table, ui.twips(), record);
    buildMenus(window.menuBar(), *table, record);
    forms::test::expectWiring(
        *table,
        [&](const ControlDesign& design) {
          ran.clear();
          built.get<QPushButton>(design.name)->click();
          return ran;
        },
        [&](std::size_t m, std::size_t i) {
          ran.clear();
          window.findChild<QAction*>(QString::fromStdString(table->menus[m].items[i].name))
              ->trigger();
          return ran;
        });
  }
}

}  // namespace
}  // namespace zepo::qt
