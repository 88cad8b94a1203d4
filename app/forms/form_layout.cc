// form-layout: where the designs place the controls, in pixels of the
// window's client area (below the menu bar), for the scripts that click on
// the windows as an operator would.
//
// Usage: form-layout [TWIPS-PER-PIXEL [FORM [CONTROL]]]
// Prints "FORM CONTROL LEFT TOP WIDTH HEIGHT" a line, for every control or
// the ones asked for (15 twips a pixel, 96 dots per inch, by default); the
// line "FORM FORM 0 0 WIDTH HEIGHT" is the client area itself.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/forms/form_table.h"

int main(int argc, char** argv) {
  double perPixel = argc > 1 ? std::atof(argv[1]) : 15.0;
  std::string form = argc > 2 ? argv[2] : "";
  std::string control = argc > 3 ? argv[3] : "";
  if (perPixel <= 0) {
    std::fprintf(stderr, "form-layout: not a number of twips a pixel: %s\n", argv[1]);
    return 2;
  }
  int printed = 0;
  for (const zepo::forms::FormTable* table : zepo::forms::allForms()) {
    if (!form.empty() && table->name != form) continue;
    if (control.empty() || control == table->name) {
      std::printf("%s %s 0 0 %d %d\n", table->name.c_str(), table->name.c_str(),
                  zepo::forms::pixels(table->width, perPixel),
                  zepo::forms::pixels(table->height, perPixel));
      ++printed;
    }
    for (const zepo::forms::ControlDesign& design : table->controls) {
      if (!control.empty() && design.name != control) continue;
      zepo::forms::Rect r = table->pixelRect(design, perPixel);
      std::printf("%s %s %d %d %d %d\n", table->name.c_str(), design.name.c_str(), r.left, r.top,
                  r.width, r.height);
      ++printed;
    }
  }
  if (printed == 0) {
    std::fprintf(stderr, "form-layout: no control %s %s\n", form.c_str(), control.c_str());
    return 1;
  }
  return 0;
}
