// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Pwcnfrm.h"

#include "widgets/DialogUtil.h"

#include <QLineEdit>
#include <QPushButton>

TPasswordDlg1::TPasswordDlg1(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TPasswordDlg1");
    setWindowTitle(QStringLiteral("Confirm Password Change"));
    const PromptControls c = buildPromptDialog(this, QStringLiteral("Re-enter new password:"), 220);
    Label1 = c.label;
    Password = c.edit;
    OKBtn = c.ok;
    CancelBtn = c.cancel;
    Password->setObjectName("Password");
    Password->setMaxLength(16);
    setMaskCharacter(Password, QLatin1Char('#'));

    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg1::OKBtnClick);
}

void TPasswordDlg1::showEvent(QShowEvent* event) {
    Password->clear();
    adjustSize();
    centreOnScreen(this);
    QDialog::showEvent(event);
    Password->setFocus();
}

void TPasswordDlg1::OKBtnClick() {
    Confirmed = Password->text() == NewPassword;
    accept();
}
