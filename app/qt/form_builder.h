// Builds a window's controls and menus from its design table (app/forms):
// one Qt widget per control at its place at the screen's twips per pixel,
// with its font and caption, the focus chained by tab index, each button
// and menu item running its event procedure.
#pragma once

#include <QMenuBar>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "app/forms/form_table.h"
#include "app/qt/twips.h"

namespace zepo::qt {

// Runs an event procedure of the logic (QtUi::runEvent).
using RunProcedure = std::function<void(forms::Procedure)>;

QFont qtFont(const forms::Font& font);

// A window's controls by their design names.
class BuiltForm {
 public:
  template <typename Widget = QWidget>
  Widget* get(const std::string& name) const {
    return qobject_cast<Widget*>(controls_.at(name));
  }
  void add(const std::string& name, QWidget* widget) { controls_[name] = widget; }

 private:
  std::map<std::string, QWidget*> controls_;
};

// Names `window` and gives it the window font, its caption, its icon and
// the close key.
void setUpWindow(QWidget* window, const forms::FormTable& table);
// Gives a control the name a screen reader says of it (forms::accessibleName):
// a row of the check window's columns says also its folder, `rowFolder`.
void nameControl(QWidget* widget, const forms::FormTable& table, const std::string& rowFolder);
// Builds the controls (and the lines) of `table` on `parent`, the window or
// the area below its menu bar, names them for the screen readers, and
// gives the focus to the first in tab order.
BuiltForm buildControls(QWidget* parent, const forms::FormTable& table, const Twips& tw,
                        const RunProcedure& run);
// The menus in the menu bar's face; F10 opens the first.
void buildMenus(QMenuBar* bar, const forms::FormTable& table, const RunProcedure& run);

}  // namespace zepo::qt
