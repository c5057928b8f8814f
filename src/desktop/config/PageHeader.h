// SPDX-License-Identifier: GPL-3.0-or-later
// The header that every printed page of the exercise begins with: the date,
// the program's name, the table number and the students' names.
#pragma once

#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"
#include "lab/PageHeaderText.h"
#include "platform/Printing.h"

#include <QString>

struct PrintPosition {
    int PrintLineHeight = 0; // text height of the printer font, surface units
    int PrintLineY = 0;      // top of the last line printed
    int PrintMargin = 0;     // width of twelve blanks
};

// Prints the header on the surface at the top of the page and returns where
// the printing goes on.
PrintPosition PrintPageHeader(PrintSurface& surface, const OptionsRecord& options,
                              const LoginRecord& login);
