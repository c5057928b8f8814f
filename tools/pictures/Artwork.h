// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures beside the program other than the rotation pictures: the logo
// shown at start, the title shown after log-in, the crosshair cursor of the
// telescope view and the arrow of the top view.
#pragma once

#include <QImage>
#include <QSize>

// The main window's client area, which the logo and the title fill.
inline constexpr QSize kPictureSize(632, 434);

QImage drawLogo();
// jupiter: a rotation picture, shown at half size with the four moons.
QImage drawTitle(const QImage& jupiter);
// 32 x 32 with the hot spot at (16, 16).
QImage drawCrosshair();
// 32 x 32, pointing down.
QImage drawArrow();
// The program's icon for the desktop menu: the disc (on a transparent ground)
// centred in a size x size square.
QImage drawAppIcon(const QImage& disc, int size);
