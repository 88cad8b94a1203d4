// A user interface for tests: answers message and input boxes from a script
// and records what the logic showed.
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "shell/ui.h"

namespace zepo {

class ScriptedUi : public Ui {
 public:
  struct Message {
    std::string prompt;
    int buttons = 0;
    std::string title;
    bool operator==(const Message&) const = default;
    friend void PrintTo(const Message& m, std::ostream* out) {
      *out << m.buttons << " \"" << m.title << "\": \"" << m.prompt << '"';
    }
  };

  // Answers for the next message boxes that have a Cancel button (boxes
  // with only OK are answered OK without using the script); when the script
  // is empty, OK.
  std::deque<int> msgBoxAnswers;
  // Answers for the next input boxes; when the script is empty, "".
  std::deque<std::string> inputBoxAnswers;

  // Everything shown, in order.
  std::vector<Message> messages;
  std::vector<Message> inputBoxes;
  // "show Ver", "hide Ver", "unload About", "refresh Main", in order.
  std::vector<std::string> windowCalls;

  int screenWidthPixels = 1024;
  double twipsPerPixel = 15;

  int msgBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::string inputBox(const std::string& prompt, const std::string& title) override;
  void show(Form form) override { windowCall("show", form); }
  void hide(Form form) override { windowCall("hide", form); }
  void unload(Form form) override { windowCall("unload", form); }
  void refresh(Form form) override { windowCall("refresh", form); }
  double screenWidthTwips() override { return screenWidthPixels * twipsPerPixel; }
  double twipsPerPixelX() override { return twipsPerPixel; }

  // The prompts of the message boxes shown, in order.
  std::vector<std::string> prompts() const;

 private:
  void windowCall(const char* what, Form form);
};

}  // namespace zepo
