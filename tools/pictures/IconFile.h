// SPDX-License-Identifier: GPL-3.0-or-later
// Windows icon and cursor files holding one 32-bit picture with its AND mask.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

// An icon file (directory type 1).
QByteArray iconFileBytes(const QImage& image);
// A cursor file (directory type 2): the entry's planes and bit-count fields
// hold the hot spot.
QByteArray cursorFileBytes(const QImage& image, QPoint hotSpot);
