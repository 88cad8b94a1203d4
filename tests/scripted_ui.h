// A user interface for tests: answers message and input boxes from a script
// and records what the logic showed.
#pragma once

#include <deque>
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
  void show(Form form) override;
  void hide(Form form) override;
  void unload(Form form) override;
  void refresh(Form form) override;
  double screenWidthTwips() override { return screenWidthPixels * twipsPerPixel; }
  double twipsPerPixelX() override { return twipsPerPixel; }

  // The prompts of the message boxes shown, in order.
  std::vector<std::string> prompts() const;
};

const char* formName(Form form);

}  // namespace zepo
