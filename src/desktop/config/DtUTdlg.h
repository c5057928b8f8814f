// SPDX-License-Identifier: GPL-3.0-or-later
// The "Set Date/Time" dialog: the observation date and time in UT, a comment
// for the hotlist (Edit Mode only) and the "&Hotlist" menu.
#pragma once

#include "ephemeris/DateTime.h"

#include <QDialog>
#include <QString>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
struct OptionsRecord;
struct LoginRecord;

class TUTTimeDlg : public QDialog {
    Q_OBJECT
public:
    // options and login are the main window's working copies; they must live
    // as long as the dialog. withHotlistMenu is false for the hotlist's own
    // "Edit Date/Time" dialog.
    TUTTimeDlg(OptionsRecord* options, LoginRecord* login, bool withHotlistMenu = true,
               QWidget* parent = nullptr);

    DateTimeRec Clock;       // the caller's clock; UTOffset is the zone offset in days
    QString Comment;         // at most 50 characters
    bool CancelEnabled = true;

    QLabel* DateLbl;
    QLabel* DateFmtLbl;
    QLabel* TimeLbl;
    QLabel* TimeFmtLbl;
    QLineEdit* DateEd;
    QLineEdit* TimeEd;
    QLineEdit* CmntEd;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QMenuBar* MenuBar = nullptr;
    QMenu* Hotlist1 = nullptr;
    QAction* AccessHotlist1 = nullptr;
    QAction* PutDateTimeonHotlist1 = nullptr;
    QAction* SaveUpdatedHotlist1 = nullptr;

    // Converts the edits into the clock (and the comment in Edit Mode).
    // Reports a bad text and returns false, leaving the clock unchanged.
    bool TakeEntry();
    void FillEdits();

    void OKBtnClick();
    void AccessHotlist1Click();
    void PutDateTimeonHotlist1Click();
    void SaveUpdatedHotlist1Click();

    // Cancel, Escape and the close box; ignored while Cancel is disabled.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    OptionsRecord* options_;
    LoginRecord* login_;
};
