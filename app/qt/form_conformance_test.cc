// Every window as built by the Qt front end matches its design table: each
// control is there, of its kind, with its caption, place at the screen's
// twips per pixel, font, visibility and tab order; the menus; the lines;
// and each button and menu item runs its procedure.
#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/forms/form_table.h"
#include "app/qt/form_builder.h"
#include "app/qt/test_app.h"

namespace zepo::qt {
namespace {

using forms::ControlSpec;
using forms::FormTable;
using forms::Kind;

using FormConformanceTest = uitest::UiTest;

// The window of a table built by its class, and the widget its controls
// lie on.
struct Built {
  std::unique_ptr<QWidget> window;
  QWidget* client;
};

Built build(const FormTable& table, QtUi& ui) {
  if (table.name == "frmMain") {
    auto* main = new FrmMainWindow(ui);
    return {std::unique_ptr<QWidget>(main), main->client()};
  }
  QWidget* window = nullptr;
  if (table.name == "frmVer") window = new FrmVerWindow(ui);
  if (table.name == "frmReport") window = new FrmReportWindow(ui);
  if (table.name == "frmAbout") window = new FrmAboutWindow(ui);
  return {std::unique_ptr<QWidget>(window), window};
}

const char* className(Kind kind) {
  switch (kind) {
    case Kind::kLabel:
    case Kind::kPicture:
      return "QLabel";
    case Kind::kTextBox:
      return "QLineEdit";
    case Kind::kButton:
      return "QPushButton";
    case Kind::kFrame:
      return "QGroupBox";
    case Kind::kDriveList:
      return "QComboBox";
    case Kind::kMultiLineText:
      return "QPlainTextEdit";
  }
  return "";
}

QString captionOf(QWidget* widget) {
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
  if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) return text->toPlainText();
  if (qobject_cast<QComboBox*>(widget)) return "";
  return widget->property("text").toString();
}

void expectControl(const FormTable& table, const ControlSpec& spec, const Built& built,
                   double perPixel) {
  SCOPED_TRACE(table.name + "." + spec.name + " at " + std::to_string(perPixel));
  auto* widget = built.window->findChild<QWidget*>(QString::fromStdString(spec.name));
  ASSERT_NE(widget, nullptr);
  EXPECT_STREQ(widget->metaObject()->className(), className(spec.kind));
  QWidget* parent = widget->parentWidget();
  EXPECT_EQ(parent, spec.container.empty() ? built.client
                                           : built.window->findChild<QWidget*>(
                                                 QString::fromStdString(spec.container)));
  auto px = [perPixel](int twips) { return int(std::lround(twips / perPixel)); };
  EXPECT_EQ(widget->geometry(), QRect(px(spec.rect.left), px(spec.rect.top), px(spec.rect.width),
                                      px(spec.rect.height)));
  EXPECT_EQ(widget->isVisibleTo(built.window.get()), spec.visible);
  EXPECT_EQ(widget->isEnabled(), spec.enabled);
  if (spec.kind == Kind::kPicture) {
    EXPECT_FALSE(qobject_cast<QLabel*>(widget)->pixmap().isNull());
    return;
  }
  EXPECT_EQ(captionOf(widget).toStdString(), spec.caption);
  EXPECT_EQ(widget->font().family().toStdString(), spec.font.family);
  EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), spec.font.points);
  EXPECT_EQ(widget->font().bold(), spec.font.bold);
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    // Only a default button answers Enter.
    EXPECT_EQ(button->isDefault(), spec.defaultButton);
    EXPECT_EQ(button->autoDefault(), spec.defaultButton);
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    EXPECT_EQ(bool(label->alignment() & Qt::AlignHCenter), spec.centred);
    if (spec.blackText) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
  }
}

TEST_F(FormConformanceTest, EveryWindowMatchesItsTable) {
  for (double perPixel : {15.0, 12.0}) {
    QtUi scaled{Twips(perPixel)};
    scaled.attach(app);
    for (const FormTable* table : forms::allForms()) {
      SCOPED_TRACE(table->name);
      Built built = build(*table, scaled);
      QWidget* window = built.window.get();
      window->show();  // lays out the area below the menu bar
      QCoreApplication::processEvents();
      EXPECT_EQ(window->objectName().toStdString(), table->name);
      EXPECT_EQ(window->windowTitle().toStdString(), table->caption);
      QList<QSize> icons = window->windowIcon().availableSizes();
      EXPECT_TRUE(icons.contains(QSize(32, 32)) && icons.contains(QSize(16, 16)));
      EXPECT_EQ(built.client->size(), scaled.twips().size(table->width, table->height));
      for (const ControlSpec& spec : table->controls) expectControl(*table, spec, built, perPixel);

      // The focus starts on the first control in tab order, and Tab goes
      // through those that take it now, in tab order.
      std::vector<const ControlSpec*> order = table->tabOrder();
      for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(order[i - 1]->tabIndex, order[i]->tabIndex) << order[i]->name;
      EXPECT_EQ(order.size(),
                std::size_t(std::count_if(
                    table->controls.begin(), table->controls.end(),
                    [](const ControlSpec& spec) { return forms::takesFocus(spec.kind); })));
      QStringList chain;
      for (const ControlSpec* spec : order)
        if (spec->visible && spec->enabled) chain << QString::fromStdString(spec->name);
      QWidget* first = window->findChild<QWidget*>(chain.front());
      EXPECT_EQ(window->focusWidget(), first);
      EXPECT_EQ(uitest::tabChain(first), chain);

      // The menus, their items and nothing else.
      QList<QAction*> bar;
      if (auto* main = qobject_cast<QMainWindow*>(window)) bar = main->menuBar()->actions();
      ASSERT_EQ(bar.size(), qsizetype(table->menus.size()));
      for (std::size_t m = 0; m < table->menus.size(); ++m) {
        QMenu* menu = bar[m]->menu();
        EXPECT_EQ(menu->objectName().toStdString(), table->menus[m].name);
        EXPECT_EQ(menu->title().toStdString(), table->menus[m].caption);
        QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), qsizetype(table->menus[m].items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
          EXPECT_EQ(items[i]->objectName().toStdString(),
                    table->menus[m].items[std::size_t(i)].name);
          EXPECT_EQ(items[i]->text().toStdString(), table->menus[m].items[std::size_t(i)].caption);
          EXPECT_TRUE(items[i]->shortcut().isEmpty());
        }
      }

      // The lines, each over the ones before it.
      QImage shown = window->grab().toImage();
      for (const forms::LineSpec& line : table->lines) {
        auto* drawn = window->findChild<LineControl*>(QString::fromStdString(line.name));
        ASSERT_NE(drawn, nullptr) << line.name;
        int left = scaled.twips().px(line.x1);
        EXPECT_EQ(drawn->geometry(), QRect(left, scaled.twips().px(line.y),
                                           scaled.twips().px(line.x2) - left, line.thickness));
        QColor colour = QColor::fromRgb(line.colour);
        EXPECT_EQ(drawn->colour(), colour);
        QPoint bottom = drawn->geometry().center();
        bottom.setY(drawn->geometry().bottom());
        QColor top = colour;
        for (const forms::LineSpec& over : table->lines)
          if (&over > &line &&
              window->findChild<LineControl*>(over.name.c_str())->geometry().contains(bottom))
            top = QColor::fromRgb(over.colour);
        EXPECT_EQ(QColor(shown.pixel(bottom)), top) << line.name;
      }
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
    for (const ControlSpec& spec : table->controls) {
      if (spec.kind != Kind::kButton) continue;
      ran.clear();
      built.get<QPushButton>(spec.name)->click();
      EXPECT_EQ(ran, std::vector<forms::Procedure>{spec.click}) << spec.name;
    }
    for (const forms::Menu& menu : table->menus) {
      for (const forms::MenuItem& item : menu.items) {
        ran.clear();
        window.findChild<QAction*>(QString::fromStdString(item.name))->trigger();
        EXPECT_EQ(ran, std::vector<forms::Procedure>{item.event}) << item.name;
      }
    }
  }
}

}  // namespace
}  // namespace zepo::qt
