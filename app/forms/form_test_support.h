// What the tests of both front ends check alike: what a window built from
// its table must be, worked out from the table on its own; and the cases
// that both front ends run through a small driver of their own, which works
// its toolkit as the operator would:
//   FormsUi& ui; Installer& app;
//   std::string text(Form, const std::string& control)  what it shows, lines
//       ending in "\n"; with no control, what the window's title bar shows
//   bool shown(Form, const std::string& control)        also of the window
//   void type(Form, const std::string& control, const std::string& text)
//   void pickDrive(int index)                            in the main window
//   const void* handle(Form)          the window of a kind, null when unloaded
//   bool close(Form, Close)           true when that destroyed the window
//   BoxSeen ask(open, Close, typed)  runs `open`, which may show a box; that
//       box is closed as told, `typed` typed into it first if it asks
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/forms/form_table.h"
#include "app/forms/forms_ui.h"
#include "platform/errors.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"

namespace zepo::forms::test {

// What a front end shows of a control built from its design.
struct ControlSeen {
  // The toolkit's control for the design's kind, in the design's container,
  // with its alignment and default button as designed.
  bool ofItsKind = false;
  int left = 0, top = 0;             // in the window's client area, in pixels
  std::optional<int> width, height;  // none: a size the control takes of its own
  bool visible = false, enabled = false;
  std::string caption;
  double fontSize = 0;              // as the toolkit gives it
  std::optional<std::string> face;  // none: a face the system stands in for
  bool bold = false;
};

// Every window as a front end builds it matches its table at two scalings:
// its caption and client area; each control there, of its kind, in its
// place, shown and enabled as designed, with its caption and font; Tab
// from the control focused first through those that take the focus now,
// in tab order, and round; the menus, their items and nothing else; each
// line over the ones drawn before it. The probe:
//   void open(const FormTable&, double twipsPerPixel)  builds and shows it
//   std::string caption();  std::pair<int, int> clientSize()
//   std::optional<ControlSeen> seen(const ControlDesign&)  none: not there
//   double fontSize(double points)     a design's size as the toolkit gives it
//   std::vector<std::string> tabChain()  the names Tab visits from the focus
//   std::vector<std::string> menus()   "menu" of the bar, then "menu/item"
//   std::uint32_t pixel(int x, int y)  in the client area, 0xRRGGBB
inline void expectWindowsMatchTheirTables(auto& probe) {
  for (double perPixel : {15.0, 12.0}) {
    for (const FormTable* table : allForms()) {
      SCOPED_TRACE(table->name + " at " + std::to_string(perPixel));
      probe.open(*table, perPixel);
      EXPECT_EQ(probe.caption(), table->caption);
      EXPECT_EQ(probe.clientSize(),
                std::pair(pixels(table->width, perPixel), pixels(table->height, perPixel)));
      for (const ControlDesign& design : table->controls) {
        SCOPED_TRACE(design.name);
        std::optional<ControlSeen> seen = probe.seen(design);
        ASSERT_TRUE(seen.has_value());
        EXPECT_TRUE(seen->ofItsKind);
        const Rect want = table->pixelRect(design, perPixel);
        EXPECT_EQ(std::pair(seen->left, seen->top), std::pair(want.left, want.top));
        EXPECT_EQ(seen->width.value_or(want.width), want.width);
        EXPECT_EQ(seen->height.value_or(want.height), want.height);
        EXPECT_EQ(seen->visible, design.visible);
        EXPECT_EQ(seen->enabled, design.enabled);
        if (design.kind == Kind::kPicture) continue;
        if (design.kind != Kind::kDriveList) {
          EXPECT_EQ(seen->caption, design.caption);
        }
        EXPECT_EQ(seen->fontSize, probe.fontSize(design.font.points));
        if (seen->face) {
          EXPECT_EQ(std::pair(*seen->face, seen->bold),
                    std::pair(std::string(design.font.family), design.font.bold));
        }
      }

      std::vector<const ControlDesign*> order = table->tabOrder();
      EXPECT_TRUE(std::is_sorted(order.begin(), order.end(),
                                 [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; }));
      std::vector<std::string> chain;
      for (const ControlDesign* design : order)
        if (design->visible && design->enabled) chain.push_back(design->name);
      EXPECT_EQ(probe.tabChain(), chain);

      std::vector<std::string> menus;
      for (const Menu& menu : table->menus) menus.push_back(menu.caption);
      for (const Menu& menu : table->menus)
        for (const MenuItem& item : menu.items) menus.push_back(menu.caption + "/" + item.caption);
      EXPECT_EQ(probe.menus(), menus);

      // A pixel on the bottom row of each line, in the middle: the colour of
      // the last line drawn over it.
      for (const LineSpec& line : table->lines) {
        const int x = (pixels(line.x1, perPixel) + pixels(line.x2, perPixel)) / 2;
        const int y = pixels(line.y, perPixel) + line.thickness - 1;
        std::uint32_t colour = line.colour;
        for (const LineSpec& over : table->lines)
          if (&over > &line && y >= pixels(over.y, perPixel) &&
              y < pixels(over.y, perPixel) + over.thickness)
            colour = over.colour;
        EXPECT_EQ(probe.pixel(x, y), colour) << line.name;
      }
    }
  }
}

// Each button and menu item of a window built from `table` runs its
// procedure: `click(button)` and `choose(menu, item)` on a window whose
// runner records what runs; each returns what ran.
inline void expectWiring(const FormTable& table, auto click, auto choose) {
  for (const ControlDesign& design : table.controls) {
    if (design.kind == Kind::kButton) {
      EXPECT_EQ(click(design), std::vector<Procedure>{design.click}) << design.name;
    }
  }
  for (std::size_t m = 0; m < table.menus.size(); ++m)
    for (std::size_t i = 0; i < table.menus[m].items.size(); ++i)
      EXPECT_EQ(choose(m, i), std::vector<Procedure>{table.menus[m].items[i].event})
          << table.menus[m].items[i].name;
}

// What a screen reader says of each control that takes the focus in each
// window: the name that the window's table gives it (a row's with the
// folder that the row shows), a name of its own in its window. The reader:
//   FormsUi& ui; std::string text(Form, control); bool shown(Form, control)
//   std::string name(Form, const ControlDesign&)  what the reader says
inline void expectAccessibleNames(auto& reader) {
  const std::pair<Form, const FormTable*> forms[] = {{Form::kMain, &mainForm()},
                                                     {Form::kVer, &checkForm()},
                                                     {Form::kReport, &reportForm()},
                                                     {Form::kAbout, &aboutForm()}};
  for (auto [form, table] : forms) {
    reader.ui.show(form);
    std::set<std::string> names;
    for (const ControlDesign& design : table->controls) {
      if (!takesFocus(design.kind) || !reader.shown(form, design.name)) continue;
      const std::string folder =
          isRow(design) ? reader.text(form, "txtDir" + design.name.substr(design.name.rfind('_')))
                        : "";
      const std::string name = reader.name(form, design);
      EXPECT_EQ(name, accessibleName(*table, design, folder)) << design.name;
      EXPECT_TRUE(!name.empty() && names.insert(name).second) << design.name << " says " << name;
    }
  }
}

// How the operator closes a box.
enum class Close { kEnter, kEsc, kCloseBox, kAnnulla };

// What a box showed: its title, its text, its buttons' captions in
// alphabetical order, its icon as the buttons value gives it (0 for none).
struct BoxSeen {
  std::string title, text;
  std::vector<std::string> buttons;
  int icon = 0;
};

// Each kind of box closed each way, and its answer: a message box's button,
// or whether the input box gives what was typed. Prompts break at a lone CR
// as at CR LF; a title is shown as given, also an empty one.
inline void expectBoxes(auto& driver) {
  const std::vector<std::string> ok{"OK"}, okCancel{"Annulla", "OK"};
  const struct {
    int buttons;
    Close close;
    int answer;
  } boxes[] = {
      {kMbCritical, Close::kEnter, kIdOk},
      {kMbCritical, Close::kEsc, kIdOk},
      {kMbInformation, Close::kCloseBox, kIdOk},
      {kMbOkCancelQuestion, Close::kEnter, kIdOk},
      {kMbOkCancelQuestion, Close::kEsc, kIdCancel},
      {kMbOkCancelQuestion, Close::kCloseBox, kIdCancel},
      {kMbOkCancelQuestion, Close::kAnnulla, kIdCancel},
  };
  for (const auto& box : boxes) {
    SCOPED_TRACE(std::to_string(box.buttons) + " closed by " + std::to_string(int(box.close)));
    const std::string title = box.close == Close::kEsc ? "" : "Installazione Client ZEPO";
    int answer = 0;
    BoxSeen seen = driver.ask(
        [&] { answer = driver.ui.msgBox("Procedo?\rCon la copia\r\nOK", box.buttons, title); },
        box.close, "");
    EXPECT_EQ(seen.title, title);
    EXPECT_EQ(seen.text, "Procedo?\nCon la copia\nOK");
    EXPECT_EQ(seen.buttons, box.buttons == kMbOkCancelQuestion ? okCancel : ok);
    EXPECT_EQ(seen.icon, box.buttons & 0x70);
    EXPECT_EQ(answer, box.answer);
  }
  for (Close close : {Close::kEnter, Close::kEsc, Close::kCloseBox, Close::kAnnulla}) {
    std::string answer = "none";
    BoxSeen seen = driver.ask(
        [&] { answer = driver.ui.inputBox("Inserire il nome del server", "Client ZEPO"); }, close,
        "ZEPOSRV");
    EXPECT_EQ(seen.title, "Client ZEPO");
    EXPECT_EQ(seen.text, "Inserire il nome del server");
    EXPECT_EQ(seen.buttons, okCancel);
    EXPECT_EQ(answer, close == Close::kEnter ? "ZEPOSRV" : "") << int(close);
  }
}

// The main window's record shown in its controls, and what the operator
// types and picks there in the record at once. The workstation has at
// least two drives.
inline void expectMainWindowRecord(auto& driver) {
  FrmMain& record = driver.app.frmMain;
  const std::vector<std::string> drives = driveListEntries(driver.app.platform);
  ASSERT_GE(drives.size(), 2u);
  const std::pair<const char*, std::string FrmMain::*> fields[] = {
      {"txtServer", &FrmMain::txtServer},
      {"txtIP", &FrmMain::txtIP},
      {"txtPath", &FrmMain::txtPath},
      {"txtPosto", &FrmMain::txtPosto}};
  for (auto [name, field] : fields) record.*field = std::string("città ") + name;
  record.drive = drives[1];
  record.lblAttendiCaption = "Installazione in corso ...\r\nAttendere.";
  record.lblAttendiVisible = true;
  driver.ui.show(Form::kMain);
  for (auto [name, field] : fields) EXPECT_EQ(driver.text(Form::kMain, name), record.*field);
  EXPECT_EQ(driver.text(Form::kMain, "dlbDrive"), drives[1]);
  EXPECT_EQ(driver.text(Form::kMain, "lblAttendi"), "Installazione in corso ...\nAttendere.");
  EXPECT_TRUE(driver.shown(Form::kMain, "lblAttendi"));

  for (auto [name, field] : fields) {
    driver.type(Form::kMain, name, name + std::string("!"));
    EXPECT_EQ(record.*field, name + std::string("!"));
  }
  driver.pickDrive(0);
  EXPECT_EQ(record.drive, drives[0]);

  record.lblAttendiVisible = false;
  record.txtIP = "192.0.2.8";
  driver.ui.refresh(Form::kMain);
  EXPECT_FALSE(driver.shown(Form::kMain, "lblAttendi"));
  EXPECT_EQ(driver.text(Form::kMain, "txtIP"), "192.0.2.8");
}

// What each window's close box, Enter and Esc do: the report window is only
// hidden, and shown again the same; the check and about windows are
// unloaded; the main window's close box ends the installer.
inline void expectClosing(auto& driver) {
  driver.app.esito.txtReport = "prima\r\n";
  const struct {
    Form form;
    Close close;
    const char *control, *shows;
    bool unloaded;
  } cases[] = {
      {Form::kReport, Close::kCloseBox, "txtReport", "prima\n", false},
      {Form::kVer, Close::kCloseBox, "cmdTorna", "OK", true},
      {Form::kAbout, Close::kEnter, "lblVersion", "Versione 3.0.0", true},
      {Form::kAbout, Close::kEsc, "lblVersion", "Versione 3.0.0", true},
      {Form::kAbout, Close::kCloseBox, "lblVersion", "Versione 3.0.0", true},
      {Form::kMain, Close::kCloseBox, "txtServer", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " closed by " + std::to_string(int(c.close)));
    driver.ui.runEvent([&](Installer& app) {
      c.form == Form::kAbout ? frmMain::mnuInfo_Click(app) : app.ui.show(c.form);
    });
    EXPECT_EQ(driver.text(c.form, c.control), c.shows);
    const void* window = driver.handle(c.form);
    bool destroyed = false;
    driver.ask([&] { destroyed = driver.close(c.form, c.close); }, Close::kEnter, "");
    EXPECT_EQ(destroyed, c.unloaded);
    EXPECT_EQ(driver.handle(c.form) == nullptr, c.unloaded);
    EXPECT_EQ(driver.ui.ended(), c.form == Form::kMain);
    if (c.unloaded || driver.ui.ended()) continue;
    EXPECT_FALSE(driver.shown(c.form, ""));
    driver.ui.show(c.form);
    EXPECT_EQ(driver.handle(c.form), window);
  }
  EXPECT_EQ(driver.ui.exitCode(), 0);
}

// The end of the installer, and an untrapped run-time error, which the
// error box tells first: the shown windows are hidden, the exit code is set
// and nothing runs any more. The driver is fresh for each case.
struct EndCase {
  void (*procedure)(Installer&);
  std::string box;  // none when empty
  int exitCode;
};
inline const EndCase kEndCases[] = {
    {[](Installer&) { throw RuntimeError(kErrFileNotFound); },
     "Errore di run-time '53':\n\nImpossibile trovare il file", 1},
    {[](Installer&) { endInstaller(); }, "", 0},
};
inline void expectEnd(auto& driver, const EndCase& end) {
  driver.ui.show(Form::kMain);
  driver.ui.show(Form::kReport);
  bool goesOn = true;
  BoxSeen seen = driver.ask([&] { goesOn = driver.ui.runEvent(end.procedure); }, Close::kEnter, "");
  EXPECT_EQ(seen.text, end.box);
  if (!end.box.empty()) {
    EXPECT_EQ(seen.title, "clientZEPO");
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(seen.icon, kMbCritical);
  }
  EXPECT_FALSE(goesOn);
  EXPECT_EQ(driver.ui.exitCode(), end.exitCode);
  EXPECT_FALSE(driver.shown(Form::kMain, ""));
  EXPECT_FALSE(driver.shown(Form::kReport, ""));
  bool ran = false;
  EXPECT_FALSE(driver.ui.runEvent([&](Installer&) { ran = true; }));
  EXPECT_FALSE(ran);
}

}  // namespace zepo::forms::test
