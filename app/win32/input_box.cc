// The box is a dialog built in memory from a DLGTEMPLATE, so that Windows'
// dialog manager gives it Tab, Enter and Esc.
#include "app/win32/input_box.h"

#include <vector>

#include "app/win32/controls.h"

namespace zepo::win32 {

namespace {

// Writes a dialog template word by word.
class TemplateWriter {
 public:
  void word(WORD value) { words_.push_back(value); }
  void dword(DWORD value) {
    word(LOWORD(value));
    word(HIWORD(value));
  }
  void text(const std::wstring& value) {
    for (wchar_t c : value) word(static_cast<WORD>(c));
    word(0);
  }
  // Every item starts on a DWORD boundary.
  void align() {
    if (words_.size() % 2) word(0);
  }
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
            const std::wstring& caption) {
    align();
    dword(WS_CHILD | WS_VISIBLE | style);
    dword(0);
    for (short value : {x, y, cx, cy}) word(static_cast<WORD>(value));
    word(id);
    word(0xFFFF);
    word(classAtom);
    text(caption);
    word(0);  // no creation data
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct Answer {
  std::string text;
};

INT_PTR CALLBACK inputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetFocus(GetDlgItem(dialog, kInputField));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* answer = reinterpret_cast<Answer*>(GetWindowLongPtrW(dialog, DWLP_USER));
        answer->text = windowText(GetDlgItem(dialog, kInputField));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {  // also Esc and the close box
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::string askInputBox(HWND owner, const std::string& prompt, const std::string& title) {
  // Measures in dialog units: the prompt on the left, the two buttons on the
  // right and the field across the bottom. The prompt comes just before the
  // field, which it names for a screen reader; then the controls in tab
  // order: field, OK, "Annulla".
  TemplateWriter t;
  t.dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.dword(0);
  t.word(4);  // controls
  for (short value : {0, 0, 240, 90}) t.word(static_cast<WORD>(value));
  t.word(0);  // no menu
  t.word(0);  // the dialog class
  t.text(wide(title));
  t.word(8);
  t.text(L"MS Shell Dlg");
  t.item(SS_LEFT | SS_NOPREFIX, 6, 6, 170, 58, kInputPrompt, kStaticClass, displayText(prompt));
  t.item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 70, 228, 12, kInputField, kEditClass, L"");
  t.item(WS_TABSTOP | BS_DEFPUSHBUTTON, 184, 6, 50, 14, IDOK, kButtonClass, L"OK");
  t.item(WS_TABSTOP | BS_PUSHBUTTON, 184, 24, 50, 14, IDCANCEL, kButtonClass, L"Annulla");

  Answer answer;
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.data(), owner,
                                           inputBoxProcedure, reinterpret_cast<LPARAM>(&answer));
  return result == IDOK ? answer.text : std::string();
}

}  // namespace zepo::win32
