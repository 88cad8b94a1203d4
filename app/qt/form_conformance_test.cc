// Every window as built by the Qt front end matches its table: each control
// is there, of its kind, with its caption, place at the screen's twips per
// pixel, font, visibility and tab order; the menus; the lines; and each
// button and menu item runs its procedure.
#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

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

QString captionOf(QWidget* widget) {
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
  if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) return text->toPlainText();
  if (qobject_cast<QComboBox*>(widget)) return "";
  return widget->property("text").toString();
}

void expectControl(const ControlDesign& design, QWidget* window, QWidget* client, double perPixel) {
  SCOPED_TRACE(design.name);
  static const std::map<Kind, const char*> classes = {{Kind::kLabel, "QLabel"},
                                                      {Kind::kPicture, "QLabel"},
                                                      {Kind::kTextBox, "QLineEdit"},
                                                      {Kind::kButton, "QPushButton"},
                                                      {Kind::kFrame, "QGroupBox"},
                                                      {Kind::kDriveList, "QComboBox"},
                                                      {Kind::kMultiLineText, "QPlainTextEdit"}};
  auto* widget = window->findChild<QWidget*>(QString::fromStdString(design.name));
  ASSERT_NE(widget, nullptr);
  EXPECT_STREQ(widget->metaObject()->className(), classes.at(design.kind));
  EXPECT_EQ(widget->parentWidget(),
            design.container.empty()
                ? client
                : window->findChild<QWidget*>(QString::fromStdString(design.container)));
  auto px = [perPixel](int twips) { return forms::pixels(twips, perPixel); };
  EXPECT_EQ(widget->geometry(), QRect(px(design.rect.left), px(design.rect.top),
                                      px(design.rect.width), px(design.rect.height)));
  EXPECT_EQ(widget->isVisibleTo(window), design.visible);
  EXPECT_EQ(widget->isEnabled(), design.enabled);
  if (design.kind == Kind::kPicture) {
    EXPECT_FALSE(qobject_cast<QLabel*>(widget)->pixmap().isNull());
    return;
  }
  EXPECT_EQ(captionOf(widget).toStdString(), design.caption);
  EXPECT_EQ(widget->font().family().toStdString(), design.font.family);
  EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), design.font.points);
  EXPECT_EQ(widget->font().bold(), design.font.bold);
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    // Only a default button answers Enter.
    EXPECT_EQ(button->isDefault(), design.defaultButton);
    EXPECT_EQ(button->autoDefault(), design.defaultButton);
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    EXPECT_EQ(bool(label->alignment() & Qt::AlignHCenter), design.centred);
    if (design.blackText) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
  }
}

TEST_F(FormConformanceTest, EveryWindowMatchesItsTable) {
  for (double perPixel : {15.0, 12.0}) {
    QtUi scaled{Twips(perPixel)};
    scaled.attach(app);
    for (const FormTable* table : forms::allForms()) {
      SCOPED_TRACE(table->name + " at " + std::to_string(perPixel));
      std::unique_ptr<QWidget> window = build(*table, scaled);
      window->show();  // lays out the area below the menu bar
      QCoreApplication::processEvents();
      auto* main = dynamic_cast<FrmMainWindow*>(window.get());
      QWidget* client = main ? main->client() : window.get();
      EXPECT_EQ(window->objectName().toStdString(), table->name);
      EXPECT_EQ(window->windowTitle().toStdString(), table->caption);
      QList<QSize> icons = window->windowIcon().availableSizes();
      EXPECT_TRUE(icons.contains(QSize(32, 32)) && icons.contains(QSize(16, 16)));
      EXPECT_EQ(client->size(), scaled.twips().size(table->width, table->height));
      for (const ControlDesign& design : table->controls)
        expectControl(design, window.get(), client, perPixel);

      // The focus starts on the first control in tab order, and Tab goes
      // through those that take it now, in tab order.
      QStringList chain;
      for (const std::string& name : forms::test::expectedTabChain(*table))
        chain << QString::fromStdString(name);
      EXPECT_EQ(window->focusWidget(), window->findChild<QWidget*>(chain.front()));
      EXPECT_EQ(uitest::tabChain(window->focusWidget()), chain);

      // The menus, their items and nothing else.
      std::vector<std::string> menus;
      QList<QAction*> bar = main ? main->menuBar()->actions() : QList<QAction*>();
      for (QAction* menu : bar) menus.push_back(menu->text().toStdString());
      for (QAction* menu : bar)
        for (QAction* item : menu->menu()->actions())
          menus.push_back(menu->text().toStdString() + "/" + item->text().toStdString());
      EXPECT_EQ(menus, forms::test::expectedMenus(*table));

      // The lines, each over the ones before it.
      QImage shown = client->grab().toImage();
      for (const auto& probe : forms::test::expectedLinePixels(*table, perPixel))
        EXPECT_EQ(shown.pixel(probe.x, probe.y) & 0xFFFFFF, probe.colour) << probe.name;
    }
  }
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
