// SPDX-License-Identifier: GPL-3.0-or-later
// The seams to the desktop. Everything that waits for a person (message boxes,
// modal dialogs, file and folder choosers, the printer dialog) and the few
// facts read from the system (user name, home folder, CD-ROM mount point) go
// through the installed Desktop. The program installs QtDesktop; tests install
// a scripted one that records every request and answers from a queue.
#pragma once

#include "common/Reporter.h"
#include "platform/Printing.h"

#include <QString>
#include <memory>

class QDialog;
class QMenu;
class QMessageBox;
class QPoint;
class QWidget;

struct FileChoice {
    QString caption;
    QString folder;         // starting folder
    QString fileName;       // proposed name
    QString filter;         // e.g. "Data files (*.DAT);;All files (*)"
    QString selectedFilter; // the filter chosen at first; the first when empty
    QString defaultSuffix;  // added to a typed name without one, e.g. "DAT"
};

// The extension a filter such as "Data files (*.DAT)" stands for ("DAT"), or
// empty for one that does not name a single extension.
QString filterSuffix(const QString& filter);
// A chosen name as the file choosers complete it: relative to the folder,
// and with the suffix added when its file name has no extension.
QString completedFileName(const QString& folder, const QString& typed, const QString& suffix);

class Desktop {
public:
    virtual ~Desktop() = default;

    // A modal message box; returns the button pressed.
    virtual MsgResult message(const Message& m) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted or
    // Rejected, or the value the dialog passed to done()).
    virtual int execDialog(QDialog& dialog) = 0;
    // Folder picker that may create the folder; empty when nothing was chosen.
    virtual QString chooseFolder(const QString& caption, const QString& startFolder) = 0;
    // Open and save file choosers; empty when cancelled.
    virtual QString chooseOpenFile(const FileChoice& choice) = 0;
    virtual QString chooseSaveFile(const FileChoice& choice) = 0;
    // Shows the printer dialog and begins a document on the chosen printer;
    // nullptr when cancelled or when the printer cannot be opened (which is
    // reported).
    virtual std::unique_ptr<PrintSurface> beginPrint(const PrintRequest& request) = 0;
    // Pops up a menu at a screen position and returns when it closes (the
    // chosen action has then run).
    virtual void popupMenu(QMenu& menu, const QPoint& at) = 0;
    // The warning beep.
    virtual void beep();

    // The login name of the process owner.
    virtual QString userName() = 0;
    // The user's home (profile) folder, without a trailing "/".
    virtual QString homeFolder() = 0;
    // The mount point of a mounted iso9660 or udf file system, ending in "/",
    // or empty when there is none.
    virtual QString cdromMountPoint() = 0;
};

// The installed desktop (a QtDesktop until another is installed).
Desktop& desktop();
void setDesktop(Desktop* d); // nullptr restores the Qt desktop

class DesktopScope {
public:
    explicit DesktopScope(Desktop* d);
    ~DesktopScope();
    DesktopScope(const DesktopScope&) = delete;
    DesktopScope& operator=(const DesktopScope&) = delete;

private:
    Desktop* previous_;
};

// Widens a message box's text so that its lines, which the program breaks
// itself, are not broken again (as far as the screen allows).
void fitMessageText(QMessageBox& box);

// Shorthand for desktop().message(...).
MsgResult showMessage(const QString& caption, const QString& text, MsgIcon icon,
                      unsigned buttons = BtnOk);

class QtDesktop : public Desktop {
public:
    MsgResult message(const Message& m) override;
    int execDialog(QDialog& dialog) override;
    QString chooseFolder(const QString& caption, const QString& startFolder) override;
    QString chooseOpenFile(const FileChoice& choice) override;
    QString chooseSaveFile(const FileChoice& choice) override;
    std::unique_ptr<PrintSurface> beginPrint(const PrintRequest& request) override;
    void popupMenu(QMenu& menu, const QPoint& at) override;
    QString userName() override;
    QString homeFolder() override;
    QString cdromMountPoint() override;
};

// Parses /proc/mounts text and returns the first iso9660 or udf mount point
// (octal escapes decoded, "/" appended), or empty.
QString cdromMountPointFromMounts(const QString& mountsText);

// Reports through the installed desktop: what the program installs as the
// engine's reporter.
class DesktopReporter : public Reporter {
public:
    MsgResult show(const Message& m) override;
};
