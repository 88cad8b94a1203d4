#include "tests/scripted_ui.h"

namespace zepo {

const char* formName(Form form) {
  switch (form) {
    case Form::kMain:
      return "Main";
    case Form::kAbout:
      return "About";
    case Form::kVer:
      return "Ver";
    case Form::kReport:
      return "Report";
  }
  return "?";
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

void ScriptedUi::show(Form form) {
  windowCalls.push_back(std::string("show ") + formName(form));
}
void ScriptedUi::hide(Form form) {
  windowCalls.push_back(std::string("hide ") + formName(form));
}
void ScriptedUi::unload(Form form) {
  windowCalls.push_back(std::string("unload ") + formName(form));
}
void ScriptedUi::refresh(Form form) {
  windowCalls.push_back(std::string("refresh ") + formName(form));
}

std::vector<std::string> ScriptedUi::prompts() const {
  std::vector<std::string> out;
  for (const Message& m : messages) out.push_back(m.prompt);
  return out;
}

}  // namespace zepo
