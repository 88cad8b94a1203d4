#include "app/qt/form_builder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

#include "app/qt/controls.h"
#include "app/qt/pictures.h"

namespace zepo::qt {

namespace {

using forms::ControlDesign;
using forms::Kind;

// A command button that Enter presses as Space does while it has the focus,
// in any window, as Windows users expect; in a dialog Enter still goes to
// the default button when the focus is elsewhere.
class CommandButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

QWidget* makeWidget(const ControlDesign& design, QWidget* parent) {
  QString caption = QString::fromStdString(design.caption);
  switch (design.kind) {
    case Kind::kLabel: {
      auto* label = new QLabel(caption, parent);
      label->setTextFormat(Qt::PlainText);
      // A label breaks its caption at blanks to fit its width and cuts what
      // does not fit; it never grows.
      label->setWordWrap(true);
      label->setAlignment((design.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
      if (design.blackText) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
      }
      return label;
    }
    case Kind::kTextBox:
      return new QLineEdit(caption, parent);
    case Kind::kButton: {
      auto* button = new CommandButton(caption, parent);
      button->setAutoDefault(design.defaultButton);
      button->setDefault(design.defaultButton);
      return button;
    }
    case Kind::kFrame:
      return new QGroupBox(caption, parent);
    case Kind::kDriveList:
      return new QComboBox(parent);
    case Kind::kPicture: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      picture->setPixmap(QPixmap::fromImage(
          design.picture == forms::Picture::kInstaller ? installerPicture() : makerPicture()));
      return picture;
    }
    case Kind::kMultiLineText: {
      auto* text = new QPlainTextEdit(caption, parent);
      text->setReadOnly(true);
      text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      return text;
    }
  }
  return nullptr;
}

}  // namespace

QFont qtFont(const forms::Font& font) {
  return designFont(font.family, font.points, font.bold);
}

void setUpWindow(QWidget* window, const forms::FormTable& table) {
  window->setObjectName(QString::fromStdString(table.name));
  window->setWindowTitle(QString::fromStdString(table.caption));
  window->setWindowIcon(appIcon());
  window->setFont(windowFont());
  // Alt+F4 closes the window as its close box does, also where no window
  // manager takes the key.
  auto* close = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), window);
  QObject::connect(close, &QShortcut::activated, window, &QWidget::close);
}

void nameControl(QWidget* widget, const forms::FormTable& table, const std::string& rowFolder) {
  const ControlDesign& design = table.control(widget->objectName().toStdString());
  widget->setAccessibleName(
      QString::fromStdString(forms::accessibleName(table, design, rowFolder)));
}

BuiltForm buildControls(QWidget* parent, const forms::FormTable& table, const Twips& tw,
                        const RunProcedure& run) {
  BuiltForm built;
  for (const ControlDesign& design : table.controls) {
    QWidget* container = design.container.empty() ? parent : built.get(design.container);
    QWidget* widget = makeWidget(design, container);
    widget->setObjectName(QString::fromStdString(design.name));
    widget->setGeometry(
        tw.rect(design.rect.left, design.rect.top, design.rect.width, design.rect.height));
    if (design.kind != Kind::kPicture) widget->setFont(qtFont(design.font));
    if (!design.visible) widget->hide();
    widget->setEnabled(design.enabled);
    if (design.click) {
      forms::Procedure click = design.click;
      QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, widget,
                       [run, click] { run(click); });
    }
    built.add(design.name, widget);
  }
  // What a screen reader says of each control that takes the focus; a
  // label's and a frame's own caption says the rest. A label that names one
  // field is its buddy, which tells the name to the accessibility tools as
  // a relation too.
  for (const ControlDesign& design : table.controls) {
    if (!forms::takesFocus(design.kind)) continue;
    nameControl(built.get(design.name), table, {});
    auto* label = design.namedBy.empty() || forms::isRow(design)
                      ? nullptr
                      : built.get<QLabel>(design.namedBy);
    if (label) label->setBuddy(built.get(design.name));
  }
  for (const forms::LineSpec& line : table.lines) {
    int left = tw.px(line.x1);
    new LineControl(parent, line.name.c_str(), QColor::fromRgb(line.colour),
                    QRect(left, tw.px(line.y), tw.px(line.x2) - left, line.thickness));
  }
  std::vector<const ControlDesign*> chain = table.tabOrder();
  for (std::size_t i = 1; i < chain.size(); ++i)
    QWidget::setTabOrder(built.get(chain[i - 1]->name), built.get(chain[i]->name));
  if (!chain.empty()) built.get(chain.front()->name)->setFocus();
  return built;
}

void buildMenus(QMenuBar* bar, const forms::FormTable& table, const RunProcedure& run) {
  for (const forms::Menu& design : table.menus) {
    QMenu* menu = bar->addMenu(QString::fromStdString(design.caption));
    menu->setObjectName(QString::fromStdString(design.name));
    // A drop-down menu is a window of its own and would take the
    // application's face, not the menu bar's.
    menu->setFont(bar->font());
    for (const forms::MenuItem& item : design.items) {
      QAction* action = menu->addAction(QString::fromStdString(item.caption));
      action->setObjectName(QString::fromStdString(item.name));
      forms::Procedure event = item.event;
      QObject::connect(action, &QAction::triggered, bar, [run, event] { run(event); });
    }
  }
  // F10 opens the first menu from any control, as Alt does.
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar);
  QObject::connect(f10, &QShortcut::activated, bar, [bar] {
    if (!bar->actions().isEmpty()) bar->setActiveAction(bar->actions().first());
  });
}

}  // namespace zepo::qt
