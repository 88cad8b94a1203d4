// What the installer's logic asks of its user interface: message boxes,
// input boxes and windows. The logic keeps the windows' contents in plain
// records (shell/installer.h); a window shows its record when it is shown or
// refreshed. Implemented by the Qt front end (app/) and by the tests'
// scripted UI.
#pragma once

#include <string>

namespace zepo {

// Buttons values of the message box.
enum : int {
  kMbCritical = 16,          // OK, critical icon
  kMbOkCancelQuestion = 33,  // OK and Cancel, question icon
  kMbInformation = 64,       // OK, information icon
};
// Message box results.
enum : int { kIdOk = 1, kIdCancel = 2 };

enum class Form { kMain, kAbout, kVer, kReport };

class Ui {
 public:
  Ui() = default;
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;
  virtual ~Ui() = default;

  // Shows a modal message box and returns kIdOk or kIdCancel (closing the box
  // counts as Cancel, or as OK when OK is its only button). The prompt breaks
  // lines at CR or CR LF.
  virtual int msgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
  // Shows a modal input box with an empty text field; returns the typed
  // text, "" on Cancel.
  virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;

  // Creates the window on its first use (one instance per kind), shows it
  // without making it modal and brings it forward. Shows the window's record
  // as it is now.
  virtual void show(Form form) = 0;
  // Hides the window; it keeps its state.
  virtual void hide(Form form) = 0;
  // Closes and discards the window; the next show creates it anew.
  virtual void unload(Form form) = 0;
  // Shows the window's record again and repaints it at once, also while the
  // logic keeps the thread busy afterwards.
  virtual void refresh(Form form) = 0;

  // The screen's width in twips and twips per horizontal pixel, as the
  // forms runtime gives them: the width is the screen's real number of
  // device pixels whatever the scaling, and a pixel is 1440 / the logical
  // dots per inch twips, a fraction at 100 or 144 dpi.
  virtual double screenWidthTwips() = 0;
  virtual double twipsPerPixelX() = 0;
};

}  // namespace zepo
