// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/StrInput.h"

#include "widgets/DialogUtil.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TStrIpDlg::TStrIpDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName("TStrIpDlg");
    const PromptControls c = buildPromptDialog(this, QString(), 260);
    Label1 = c.label;
    EditStr = c.edit;
    OKBtn = c.ok;
    CancelBtn = c.cancel;
    connect(OKBtn, &QPushButton::clicked, this, &TStrIpDlg::OKBtnClick);
}

void TStrIpDlg::showEvent(QShowEvent* event) {
    setWindowTitle(Caption);
    Label1->setText(Prompt);
    EditStr->setText(Value);
    EditStr->setFocus();
    adjustSize();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TStrIpDlg::OKBtnClick() {
    Value = EditStr->text();
    accept();
}
