// The forms runtime's input box on Win32: the prompt, OK (Enter) and
// "Annulla" (Esc), and an empty text field below.
#pragma once

#include <windows.h>

#include <string>

namespace zepo::win32 {

// Identifiers of the input box's controls; OK and "Annulla" are IDOK and
// IDCANCEL.
inline constexpr int kInputPrompt = 10;
inline constexpr int kInputField = 11;

// Shows the box modally to `owner` (may be null); the typed text, "" when
// cancelled or closed.
std::string askInputBox(HWND owner, const std::string& prompt, const std::string& title);

}  // namespace zepo::win32
