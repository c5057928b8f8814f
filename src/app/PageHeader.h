// SPDX-License-Identifier: GPL-3.0-or-later
// The header that every printed page of the exercise begins with: the date,
// the program's name, the table number and the students' names.
#pragma once

#include "config/LoginRecord.h"
#include "config/OptionsRecord.h"
#include "platform/Printing.h"

#include <QString>

struct PrintPosition {
    int PrintLineHeight = 0; // text height of the printer font, surface units
    int PrintLineY = 0;      // top of the last line printed
    int PrintMargin = 0;     // width of twelve blanks
};

// "ORVA Exercise "Quorvex" - " + the first student's name, cut to 97 characters.
QString pageHeaderTitle(const LoginRecord& login);

// What follows the date on the first line of a window's printout:
// "     Laboratory Table Number " and the table number (the options', else the
// one typed at log-in), or "(Not Recorded)".
QString tableNumberText(const OptionsRecord& options, const LoginRecord& login);

// Prints the header on the surface at the top of the page and returns where
// the printing goes on.
PrintPosition PrintPageHeader(PrintSurface& surface, const OptionsRecord& options,
                              const LoginRecord& login);
