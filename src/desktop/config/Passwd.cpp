// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Passwd.h"

#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kMaxPasswordChars = 16;
constexpr int kMaxAttempts = 3;
} // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TPasswordDlg");
    setWindowTitle(QStringLiteral("Password Required"));
    const PromptControls c = buildPromptDialog(this, QStringLiteral("Enter password:"), 220);
    Label1 = c.label;
    Password = c.edit;
    OKBtn = c.ok;
    CancelBtn = c.cancel;
    Password->setObjectName("Password");
    Password->setMaxLength(kMaxPasswordChars);
    setMaskCharacter(Password, QLatin1Char('*'));

    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
}

void TPasswordDlg::Init(const std::string& expected) {
    expected_ = QString::fromStdString(expected).left(kMaxPasswordChars);
    attempts_ = 0;
}

void TPasswordDlg::showEvent(QShowEvent* event) {
    adjustSize();
    centreOnScreen(this);
    QDialog::showEvent(event);
    Password->setFocus();
}

void TPasswordDlg::OKBtnClick() {
    ++attempts_;
    if (Password->text() == expected_) {
        done(PasswordOk);
    } else if (attempts_ < kMaxAttempts) {
        done(PasswordNo);
    } else {
        showMessage(QStringLiteral("Options Access Denied!"),
                    QStringLiteral("Too Many Invalid Passwords!"), MsgIcon::Error);
        done(PasswordCancel);
    }
}

int AskInstructorPassword(const std::string& expected, QWidget* parent) {
    TPasswordDlg dlg(parent);
    dlg.Init(expected);
    int result = PasswordNo;
    while (result == PasswordNo) {
        dlg.Password->clear();
        result = desktop().execDialog(dlg);
    }
    return result == PasswordOk ? PasswordOk : PasswordCancel;
}
