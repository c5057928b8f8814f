// Small helpers shared by the program's windows.
#pragma once

#include <QIcon>

class QWidget;

// Centres a window on the screen it is on (or the primary screen).
void centreOnScreen(QWidget* w);

// The program's icon: Jupiter's banded disc, drawn at any size.
QIcon programIcon();
