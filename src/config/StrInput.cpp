#include "config/StrInput.h"

#include "widgets/DialogUtil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TStrIpDlg::TStrIpDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName("TStrIpDlg");
    Label1 = new QLabel(this);
    EditStr = new QLineEdit(this);
    EditStr->setMinimumWidth(260);
    OKBtn = new QPushButton(tr("OK"), this);
    CancelBtn = new QPushButton(tr("Cancel"), this);
    OKBtn->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(EditStr);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TStrIpDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
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
