// SPDX-License-Identifier: GPL-3.0-or-later
// TPasswordDlg ("Password Required"): asks for the instructor password. The
// opener calls Init with the expected password and shows the dialog again and
// again, its entry emptied, for as long as it ends with PasswordNo.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog's results (the platform's classic modal results).
enum PasswordResult : int {
    PasswordCancel = QDialog::Rejected, // Cancel, or the third wrong entry
    PasswordOk = QDialog::Accepted,     // the expected password
    PasswordNo = 7,                     // a wrong entry while fewer than three
};

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    // Stores the expected password (cut to 16 characters) and sets the
    // attempt count to 0.
    void Init(const std::string& expected);
    int Attempts() const { return attempts_; }

    QLabel* Label1; // "Enter password:"
    QLineEdit* Password;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString expected_;
    int attempts_ = 0;
};

// Runs the dialog for the expected password until it ends with another
// result than PasswordNo, its entry emptied each time; returns PasswordOk or
// PasswordCancel.
int AskInstructorPassword(const std::string& expected, QWidget* parent = nullptr);
