// The installer's images, drawn in code with GDI: the window icon and the two
// pictures of the about window. The same drawings as the Qt front end's.
#pragma once

#include <windows.h>

namespace zepo::win32 {

// The window icon of the given size (32 or 16 pixels): a monitor with a Z on
// its screen and a download arrow, in colours of the standard sixteen-colour
// palette on a transparent background. Made once per size and kept.
HICON appIcon(int size);

// The installer's picture of the about window, 195 by 113 pixels: a server
// and a workstation joined by the copy arrow, with the product name. The
// caller owns the bitmap.
HBITMAP installerPicture();
// The maker's mark beside the address, 120 by 102 pixels. The caller owns
// the bitmap.
HBITMAP makerPicture();

}  // namespace zepo::win32
