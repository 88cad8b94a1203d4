#include "app/forms/form_table.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zepo::forms {

const ControlDesign& FormTable::control(const std::string& name) const {
  for (const ControlDesign& design : controls)
    if (design.name == name) return design;
  throw std::out_of_range(this->name + " has no control " + name);
}

std::vector<const ControlDesign*> FormTable::tabOrder() const {
  std::vector<const ControlDesign*> chain;
  for (const ControlDesign& design : controls)
    if (takesFocus(design.kind)) chain.push_back(&design);
  std::stable_sort(chain.begin(), chain.end(), [](const ControlDesign* a, const ControlDesign* b) {
    return a->tabIndex < b->tabIndex;
  });
  return chain;
}

Rect FormTable::pixelRect(const ControlDesign& design, double twipsPerPixel) const {
  auto px = [twipsPerPixel](int twips) { return pixels(twips, twipsPerPixel); };
  Rect rect{px(design.rect.left), px(design.rect.top), px(design.rect.width),
            px(design.rect.height)};
  if (!design.container.empty()) {
    Rect frame = pixelRect(control(design.container), twipsPerPixel);
    rect.left += frame.left;
    rect.top += frame.top;
  }
  return rect;
}

bool isRow(const ControlDesign& design) {
  const std::size_t underscore = design.name.rfind('_');
  return underscore != std::string::npos && underscore + 1 < design.name.size() &&
         design.name.find_first_not_of("0123456789", underscore + 1) == std::string::npos;
}

std::string accessibleName(const FormTable& form, const ControlDesign& design,
                           const std::string& rowFolder) {
  if (design.namedBy.empty())
    return takesFocus(design.kind) && design.kind != Kind::kButton ? form.caption : design.caption;
  std::string name = form.control(design.namedBy).caption;
  if (isRow(design) && !rowFolder.empty()) name += " " + rowFolder;
  return name;
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
