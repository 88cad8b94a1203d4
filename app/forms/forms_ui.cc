#include "app/forms/forms_ui.h"

#include "check/check_window.h"
#include "shell/event.h"

namespace zepo::forms {

namespace {
constexpr Form kForms[] = {Form::kMain, Form::kAbout, Form::kVer, Form::kReport};
}

FormWindow& FormsUi::made(Form form) {
  FormWindow*& window = windows_[index(form)];
  if (!window) window = makeWindow(form);
  return *window;
}

void FormsUi::show(Form form) {
  FormWindow& window = made(form);
  window.showRecord();
  apply(Step::kPresent, window);
}

void FormsUi::hide(Form form) {
  if (FormWindow* window = formWindow(form)) apply(Step::kConceal, *window);
}

void FormsUi::unload(Form form) {
  FormWindow*& window = windows_[index(form)];
  if (!window) return;
  apply(Step::kDiscard, *window);
  window = nullptr;
}

void FormsUi::refresh(Form form) {
  FormWindow& window = made(form);
  window.showRecord();
  apply(Step::kRepaintNow, window);
}

void FormsUi::showShownRecords() {
  for (Form form : kForms)
    if (FormWindow* window = formWindow(form); window && isShown(*window)) window->showRecord();
}

bool FormsUi::runEvent(const std::function<void(Installer&)>& procedure) {
  if (ended_) return false;
  if (std::optional<int> exitCode = runEventProcedure(app(), procedure)) {
    ended_ = true;
    exitCode_ = *exitCode;
    for (Form form : kForms) hide(form);
    quit(*exitCode);
    return false;
  }
  return !ended_;
}

void FormsUi::checkWindowClosed() {
  unload(Form::kVer);
  runEvent(frmVer::Form_Unload);
}

}  // namespace zepo::forms
