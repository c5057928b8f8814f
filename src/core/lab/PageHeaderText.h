// SPDX-License-Identifier: GPL-3.0-or-later
// The texts that head every printout of the exercise (the desktop's printed
// pages and the browser's print view): the title of the print job, the date
// and time, the table number line and the students' names. UTF-8.
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

// The date and time a printout is stamped with, "MM-DD-YYYY hh:mm:ss" (24
// hours): numeric and the same in every language, month first as the
// program's other dates. The fields are the local clock's.
std::string printoutDateTime(int year, int month, int day, int hour, int minute, int second);

// The header of a report's printout: each text with its line, counted from
// 0 at the top of the page (the lines between are left blank): the date and
// time and "     Quorvex" on line 0; when a table number is known,
// "Laboratory Table Number " with it (28 UTF-16 units at most) two lines
// below; two lines below that the first student's name (even when empty),
// then the other names given, one a line.
struct PageHeaderLine {
    int line = 0;
    std::string text;
    bool operator==(const PageHeaderLine&) const = default;
};
std::vector<PageHeaderLine> pageHeaderLines(const std::string& dateTime,
                                            const OptionsRecord* options, const LoginRecord& login);
