// The installer's images, drawn in code: the window icon and the two
// pictures of the about window.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QRgb>

namespace zepo::qt {

// The sixteen colours of the standard Windows palette, which the icon uses.
const QList<QRgb>& sixteenColours();
// The icon image of the given size (32 or 16 pixels): a monitor with a Z on
// its screen and a download arrow, in the sixteen colours on a transparent
// background.
QImage iconImage(int size);
// The window icon with its 32 and 16 pixel images.
QIcon appIcon();

// The installer's picture of the about window, 195 by 113 pixels: a server
// and a workstation joined by the copy arrow, with the product name.
QImage installerPicture();
// The maker's mark beside the address, 120 by 102 pixels.
QImage makerPicture();

}  // namespace zepo::qt
