#include "app/forms/form_table.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zepo::forms {

const ControlSpec& FormTable::control(const std::string& name) const {
  for (const ControlSpec& spec : controls)
    if (spec.name == name) return spec;
  throw std::out_of_range(this->name + " has no control " + name);
}

std::vector<const ControlSpec*> FormTable::tabOrder() const {
  std::vector<const ControlSpec*> chain;
  for (const ControlSpec& spec : controls)
    if (takesFocus(spec.kind)) chain.push_back(&spec);
  std::stable_sort(chain.begin(), chain.end(), [](const ControlSpec* a, const ControlSpec* b) {
    return a->tabIndex < b->tabIndex;
  });
  return chain;
}

Rect FormTable::pixelRect(const ControlSpec& spec, double twipsPerPixel) const {
  auto px = [twipsPerPixel](int twips) { return pixels(twips, twipsPerPixel); };
  Rect rect{px(spec.rect.left), px(spec.rect.top), px(spec.rect.width), px(spec.rect.height)};
  if (!spec.container.empty()) {
    Rect frame = pixelRect(control(spec.container), twipsPerPixel);
    rect.left += frame.left;
    rect.top += frame.top;
  }
  return rect;
}

int pixels(int twips, double twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

bool takesFocus(Kind kind) {
  switch (kind) {
    case Kind::kTextBox:
    case Kind::kButton:
    case Kind::kDriveList:
    case Kind::kMultiLineText:
      return true;
    default:
      return false;
  }
}

const std::vector<const FormTable*>& allForms() {
  static const std::vector<const FormTable*> forms = {&mainForm(), &checkForm(), &reportForm(),
                                                      &aboutForm()};
  return forms;
}

}  // namespace zepo::forms
