#include "tests/scripted_ui.h"

namespace zepo {

namespace {
const char* const kFormNames[] = {"Main", "About", "Ver", "Report"};
}

int ScriptedUi::msgBox(const std::string& prompt, int buttons, const std::string& title) {
  messages.push_back({prompt, buttons, title});
  if (buttons != kMbOkCancelQuestion || msgBoxAnswers.empty()) return kIdOk;
  int answer = msgBoxAnswers.front();
  msgBoxAnswers.pop_front();
  return answer;
}

std::string ScriptedUi::inputBox(const std::string& prompt, const std::string& title) {
  inputBoxes.push_back({prompt, 0, title});
  if (inputBoxAnswers.empty()) return "";
  std::string answer = inputBoxAnswers.front();
  inputBoxAnswers.pop_front();
  return answer;
}

void ScriptedUi::windowCall(const char* what, Form form) {
  windowCalls.push_back(std::string(what) + " " + kFormNames[static_cast<int>(form)]);
}

std::vector<std::string> ScriptedUi::prompts() const {
  std::vector<std::string> out;
  for (const Message& m : messages) out.push_back(m.prompt);
  return out;
}

}  // namespace zepo
