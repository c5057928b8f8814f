// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that head every printout of the exercise (the desktop's printed
// pages and the browser's print view): the title of the print job, the table
// number line and the students' names. UTF-8.
#pragma once

#include "lab/LoginRecord.h"
#include "lab/OptionsRecord.h"

#include <string>
#include <vector>

// "ORVA Exercise "Quorvex" - " + the first student's name, cut to 97
// characters (UTF-16 code units, as the print job's title field counts them).
std::string pageHeaderTitle(const LoginRecord& login);

// The table number a printout shows: the options', else the one typed at
// log-in; empty when neither is known. Either record may be absent.
std::string printedTableNumber(const OptionsRecord* options, const LoginRecord* login);

// "     Laboratory Table Number " and the printed table number, or
// "(Not Recorded)": what follows the date on a printout's first line.
std::string printoutTableText(const OptionsRecord* options, const LoginRecord* login);

// The students' names, one per line: the first always, the others when given.
std::vector<std::string> printoutNames(const LoginRecord* login);
