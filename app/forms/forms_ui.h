// What both front ends do alike above their toolkits: the installer whose
// records the windows show, one window of each kind made on first use,
// showing, hiding, unloading and refreshing it with its record, the shown
// windows' records brought up to date before a box, and the event runner's
// end hiding every window. A front end supplies its windows and the few
// toolkit steps below.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "shell/installer.h"
#include "shell/ui.h"

namespace zepo::forms {

// A window of a front end, as the shared part sees it.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // Sets the controls from the window's record.
  virtual void showRecord() = 0;
};

class FormsUi : public Ui {
 public:
  FormsUi() = default;
  ~FormsUi() override = default;

  // The installer whose records the windows show and whose procedures they
  // run. Set once, before any window is used.
  void attach(Installer& app) { app_ = &app; }
  Installer& app() const { return *app_; }

  void show(Form form) final;
  void hide(Form form) final;
  void unload(Form form) final;
  void refresh(Form form) final;

  // Runs one event procedure of the logic. When the procedure ends the
  // installer, every window is hidden and the event loops are told to quit;
  // a runtime error that no procedure trapped is shown in the runtime's
  // error box first. Returns false once the installer has ended (then no
  // procedure runs any more).
  bool runEvent(const std::function<void(Installer&)>& procedure);
  bool ended() const { return ended_; }
  // 0 after an end of the installer, 1 after a runtime error.
  int exitCode() const { return exitCode_; }

  // The close box of the check window destroyed it.
  void checkWindowClosed();

 protected:
  // The window object of a kind, or null while it does not exist.
  FormWindow* formWindow(Form form) const { return windows_[index(form)]; }
  // A box waits over the windows as their records are now: the logic may
  // have filled a shown window since it was last shown (a check run shows
  // its window first and fills it afterwards).
  void showShownRecords();

  // What a front end does to one of its windows.
  enum class Step {
    kPresent,     // shows it and brings it forward
    kConceal,     // hides it
    kRepaintNow,  // paints it now: the logic may keep the thread busy afterwards
    kDiscard,     // closes it and deletes it once the event loop gets back (it may
                  // be unloading itself from one of its own handlers)
  };
  virtual FormWindow* makeWindow(Form form) = 0;
  virtual bool isShown(const FormWindow& window) const = 0;
  virtual void apply(Step step, FormWindow& window) = 0;
  // Leaves the running event loops with the exit code.
  virtual void quit(int exitCode) = 0;

 private:
  static std::size_t index(Form form) { return static_cast<std::size_t>(form); }
  FormWindow& made(Form form);

  Installer* app_ = nullptr;
  std::array<FormWindow*, 4> windows_{};
  bool ended_ = false;
  int exitCode_ = 0;
};

// A new window of a kind, of the front end's four window classes; each
// takes the front end's Ui.
template <class Main, class About, class Ver, class Report, class FrontEnd>
FormWindow* newFormWindow(Form form, FrontEnd& ui) {
  switch (form) {
    case Form::kMain:
      return new Main(ui);
    case Form::kAbout:
      return new About(ui);
    case Form::kVer:
      return new Ver(ui);
    case Form::kReport:
      return new Report(ui);
  }
  return nullptr;
}

}  // namespace zepo::forms
