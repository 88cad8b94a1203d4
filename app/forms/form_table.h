// The four windows as designed, without any toolkit: every control with its
// kind, caption, place and size in twips, font, container, tab index and
// whether it shows at first; the menus with the procedure each item runs;
// the lines drawn on a window. The Qt and the Win32 front ends build their
// windows from these tables, and nothing else says what a window holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepo {
class Installer;
}

namespace zepo::forms {

// An event procedure of the logic that a control or a menu item runs.
using Procedure = void (*)(Installer&);

enum class Kind {
  kLabel,
  kTextBox,
  kButton,
  kFrame,      // a captioned group box; the controls it holds are placed in it
  kDriveList,  // the drop-down list of the workstation's drives
  kPicture,
  kMultiLineText,  // read-only, with a vertical scroll bar
};

// One of the pictures drawn by the front ends' own code.
enum class Picture { kNone, kInstaller, kMaker };

// Where the design places a rectangle, in twips (1440 to the inch).
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Font {
  const char* family = "MS Sans Serif";
  double points = 8.25;
  bool bold = false;
};

// The windows' default font.
inline constexpr Font kWindowFont{};

struct ControlDesign {
  std::string name = {};  // the design name; rows of an array are NAME_INDEX
  Kind kind = Kind::kLabel;
  std::string caption = {};  // a text box's first text, a frame's title
  Rect rect;                 // relative to its container
  Font font = kWindowFont;
  std::string container = {};  // the frame that holds it; empty: the window
  int tabIndex = 0;            // the design's tab index; the focus chain follows it
  bool visible = true;
  bool enabled = true;
  bool centred = false;        // a label's caption centred, not on the left
  bool blackText = false;      // black whatever the system's text colour is
  bool defaultButton = false;  // answers Enter and Esc
  Picture picture = Picture::kNone;
  Procedure click = nullptr;  // what a button runs when pressed
  std::string namedBy = {};   // the label whose caption names the field
};

// A line drawn on the window: from x1 to x2 at y (twips), `thickness`
// pixels high, of one colour (0xRRGGBB).
struct LineSpec {
  std::string name = {};
  int x1, x2, y;
  int thickness;
  std::uint32_t colour;
};

struct MenuItem {
  std::string name, caption;
  Procedure event;
};

struct Menu {
  std::string name, caption;
  std::vector<MenuItem> items;
};

enum class Border { kSizable, kFixedDialog };

struct FormTable {
  std::string name = {};
  std::string caption = {};
  int width = 0, height = 0;  // the client area in twips, below the menu bar
  Border border = Border::kSizable;
  std::vector<ControlDesign> controls;  // in creation order; later ones lie on top
  std::vector<Menu> menus;
  std::vector<LineSpec> lines;  // drawn in order, the last on top

  // The control of that name; throws std::out_of_range when there is none.
  const ControlDesign& control(const std::string& name) const;
  // The controls that take the keyboard focus, in tab order.
  std::vector<const ControlDesign*> tabOrder() const;
  // A control's rectangle in the window's client area, in pixels at
  // `twipsPerPixel`: its container's place in pixels plus its own.
  Rect pixelRect(const ControlDesign& control, double twipsPerPixel) const;
};

// What a screen reader says a control is. A button, a label or a frame says
// its caption; a field says the caption of the label that names it, and a
// row of an array (NAME_INDEX) says also the folder its row is about
// (`rowFolder`: what the row's folder box shows), since five boxes named
// "Stato" tell nothing apart; a field that no label names says the
// window's caption.
std::string accessibleName(const FormTable& form, const ControlDesign& control,
                           const std::string& rowFolder = {});
// Whether the control is a row of an array of controls (NAME_INDEX).
bool isRow(const ControlDesign& control);

// Twips to pixels at `twipsPerPixel`, rounded to the nearest.
int pixels(int twips, double twipsPerPixel);
// Whether controls of that kind take the keyboard focus.
bool takesFocus(Kind kind);

const FormTable& mainForm();    // frmMain
const FormTable& checkForm();   // frmVer
const FormTable& reportForm();  // frmReport
const FormTable& aboutForm();   // frmAbout
// The four tables.
const std::vector<const FormTable*>& allForms();

}  // namespace zepo::forms
