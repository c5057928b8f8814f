// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in a window, through Qt's accessibility
// interfaces (as the AT-SPI bridge reads them).
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every control a person operates (buttons, check boxes, radio buttons, text
// boxes, spin and combo boxes, sliders and scroll bars, menu items, lists,
// tables, page tabs) that has no accessible name, as "<role> at <path>".
QStringList unnamedControls(QWidget& window);
