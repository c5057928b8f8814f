// SPDX-License-Identifier: GPL-3.0-or-later
// TPasswordDlg1 ("Confirm Password Change"): the new instructor password is
// typed a second time. The opener sets NewPassword, shows the dialog modally,
// reads Confirmed and resets NewPassword afterwards.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TPasswordDlg1 : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg1(QWidget* parent = nullptr);

    QString NewPassword;
    bool Confirmed = false;

    QLabel* Label1; // "Re-enter new password:"
    QLineEdit* Password;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
};
