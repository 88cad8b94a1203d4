// The installer's user interface on Win32: message and input boxes, the four
// windows (one instance of each, created on first use, never modal), and the
// handler that runs the logic's event procedures.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/forms/forms_ui.h"
#include "app/win32/controls.h"
#include "app/win32/form_windows.h"

namespace zepo::win32 {

class Win32Ui : public forms::FormsUi {
 public:
  explicit Win32Ui(Twips twips);
  ~Win32Ui() override;

  const Twips& twips() const { return twips_; }
  Fonts& fonts() { return fonts_; }

  int msgBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::string inputBox(const std::string& prompt, const std::string& title) override;
  double screenWidthTwips() override;
  double twipsPerPixelX() override;

  // The window of a kind, or null while it does not exist.
  HWND window(Form form) const;
  FrmMainWindow* mainWindow() const;
  // The object of the window of a kind, or null while it does not exist.
  Window* windowOf(Form form) const;

  // Deletes the windows that were unloaded from their own handlers; the
  // message loop calls it between messages.
  void deleteUnloadedWindows() { unloaded_.clear(); }

  // Runs the message loop until the installer ends; Tab and the default and
  // cancel buttons work in every window. Returns the exit code.
  int run();

 private:
  forms::FormWindow* makeWindow(Form form) override;
  bool isShown(const forms::FormWindow& window) const override;
  void apply(Step step, forms::FormWindow& window) override;
  void quit(int exitCode) override;
  HWND dialogOwner() const;

  Twips twips_;
  Fonts fonts_;
  std::vector<std::unique_ptr<Window>> unloaded_;
};

}  // namespace zepo::win32
