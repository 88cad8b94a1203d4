// The installer's user interface on Qt: message and input boxes, the four
// windows (one instance of each, created on first use, never modal), and the
// event loop's handler that runs the logic's event procedures.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/forms/forms_ui.h"
#include "app/qt/frm_about.h"
#include "app/qt/frm_main.h"
#include "app/qt/frm_report.h"
#include "app/qt/frm_ver.h"
#include "app/qt/twips.h"

namespace zepo::qt {

class QtUi : public forms::FormsUi {
 public:
  explicit QtUi(Twips twips);
  ~QtUi() override;

  const Twips& twips() const { return twips_; }

  int msgBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::string inputBox(const std::string& prompt, const std::string& title) override;
  double screenWidthTwips() override;
  double twipsPerPixelX() override;

  // The window of a kind, or null while it does not exist.
  QWidget* window(Form form) const;
  FrmMainWindow* mainWindow() const;

 private:
  forms::FormWindow* makeWindow(Form form) override;
  bool isShown(const forms::FormWindow& window) const override;
  void apply(Step step, forms::FormWindow& window) override;
  void quit(int exitCode) override;
  QWidget* dialogParent() const;

  Twips twips_;
};

}  // namespace zepo::qt
