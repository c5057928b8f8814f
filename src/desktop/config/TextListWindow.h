// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows that show a list of text lines in a list box share (the
// hotlist, the help topic list, the help text viewer): the fixed-pitch font,
// the selected line, sizing to the text, the search through the search string
// dialog and the printout with the students' names.
#pragma once

#include "lab/PageHeaderText.h"
#include "platform/Printing.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <string>

class QListWidget;
class QWidget;
struct LoginRecord;
struct OptionsRecord;

// Liberation Mono (the program's "Courier New"), 10 points.
QFont textListFont();
// The list box "ListBox1" of such a window, in that font, named for screen
// readers after the window's caption.
QListWidget* makeTextListBox(QWidget* parent);

// The selected line, or -1 when none is selected.
int selectedRow(const QListWidget& list);
// Selects the line (nothing for an index outside the list).
void selectRow(QListWidget& list, int row);
// Selects the line and scrolls it to the top of the list box.
void selectRowAtTop(QListWidget& list, int row);
std::vector<std::string> listLines(const QListWidget& list);

// Sizes the window so that its list box's client area follows the text rule
// (TextListRules.h) with `extra` and `minWidth`; room for the window's frame
// around the list box, its menu bar and a vertical scroll bar is added.
void sizeToTextList(QWidget& window, QListWidget& list, int menuBarHeight, int extra, int minWidth);

// Runs the search string dialog with the caption over the list's lines, from
// the top or from the line after the selected one. Returns the line found, or
// -1 when the search was cancelled or found nothing (after saying so).
int searchTextList(const QListWidget& list, const QString& caption);
// "String Not Found": the search text in double quotes, then " Not Found.".
void sayStringNotFound(const QString& text);

// "ORVA Exercise - "Quorvex" - " followed by who printed.
QString printJobTitle(const QString& who);

// A printout of a list window. Lines are one text height apart, counted from
// 1; the left margin is 0 on a portrait page and 50 on a landscape one.
struct ListPrintout {
    QString firstLine;    // line 1
    QStringList names;    // from line 3, one a line
    QStringList headings; // indented by 50, two lines apart, two lines below the names
    QStringList lines;    // indented by 50, two lines below the last heading
};
// Line 1 of a printout: the date and time, then the table text.
QString printoutFirstLine(const OptionsRecord* options, const LoginRecord* login);
// printoutNames() as lines of a listing.
QStringList printoutNameLines(const LoginRecord* login);
// Prints in "Courier" 10 points; a new page is begun when the next list line
// would pass the page height, continuing on line 2.
void printTextListing(PrintSurface& surface, const ListPrintout& printout);
