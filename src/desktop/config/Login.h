// SPDX-License-Identifier: GPL-3.0-or-later
// TLoginDlg ("Student Accounting"): up to four students and their lab table
// log in. The opener sets LoginRec and shows the dialog modally; it ends only
// through OK, once the record holds a first name and its id, or the
// improper-login marks.
#pragma once

#include "lab/LoginRecord.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TLoginDlg : public QDialog {
    Q_OBJECT
public:
    explicit TLoginDlg(QWidget* parent = nullptr);

    LoginRecord* LoginRec = nullptr;

    QLabel* Label1;     // "Enter Student Name(s)  (Firstname...Lastname)"
    QLabel* StudLbl[4]; // "Student #1:" .. "Student #4:"
    QLabel* TableLbl;   // "Laboratory Table Number:"
    QLineEdit* Stud1;
    QLineEdit* Stud2;
    QLineEdit* Stud3;
    QLineEdit* Stud4;
    QLineEdit* LabTbl;
    QPushButton* OKBtn;

protected:
    void showEvent(QShowEvent* event) override;
    // There is no Cancel: Escape and the window's close box do nothing.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OKBtnClick();
};
