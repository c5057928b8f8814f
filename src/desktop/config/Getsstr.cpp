// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Getsstr.h"

#include "widgets/DialogUtil.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
TGetSrchStrDlg* gSearchDlg = nullptr;
}

TGetSrchStrDlg* GetSrchStrDlg() {
    // Made on first use when nobody has set one; it lives to the end of the run.
    if (!gSearchDlg) gSearchDlg = new TGetSrchStrDlg();
    return gSearchDlg;
}
void setGetSrchStrDlg(TGetSrchStrDlg* dlg) { gSearchDlg = dlg; }

TGetSrchStrDlg::TGetSrchStrDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("TGetSrchStrDlg");
    setWindowTitle(QStringLiteral("Find Help Topic"));
    Label1 = new QLabel(QStringLiteral("Search String:"), this);
    Label2 = new QLabel(QStringLiteral("Begin Search:"), this);
    SrchStr1 = new QLineEdit(this);
    SrchStr1->setMaxLength(80);
    SrchStr1->setMinimumWidth(280);
    Label1->setBuddy(SrchStr1);
    FromTopBtn = new QPushButton(QStringLiteral("From &Top"), this);
    FromCursorBtn = new QPushButton(QStringLiteral("&From Cursor"), this);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    FromTopBtn->setDefault(true);
    CaseBox = new QCheckBox(QStringLiteral("Case Dependent"), this);
    CaseBox->setLayoutDirection(Qt::RightToLeft); // its text on the left

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(SrchStr1, 0, 1, 1, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(FromTopBtn, 1, 1);
    grid->addWidget(FromCursorBtn, 1, 2);
    grid->addWidget(CancelBtn, 1, 3);
    grid->addWidget(CaseBox, 2, 0, 1, 2, Qt::AlignLeft);

    connect(FromTopBtn, &QPushButton::clicked, this, &TGetSrchStrDlg::FromTopBtnClick);
    connect(FromCursorBtn, &QPushButton::clicked, this, &TGetSrchStrDlg::FromCursorBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TGetSrchStrDlg::CancelBtnClick);
}

TGetSrchStrDlg::~TGetSrchStrDlg() {
    if (gSearchDlg == this) gSearchDlg = nullptr;
}

void TGetSrchStrDlg::ResetSearch() {
    SearchText.clear();
    CaseDependent = false;
}

void TGetSrchStrDlg::showEvent(QShowEvent* event) {
    SrchStr1->setText(SearchText);
    SrchStr1->selectAll();
    SrchStr1->setFocus();
    CaseBox->setChecked(CaseDependent);
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TGetSrchStrDlg::begin(SearchFrom how) {
    EmptySearch = false;
    SearchText = SrchStr1->text().left(80);
    CaseDependent = CaseBox->isChecked();
    if (SearchText.isEmpty()) {
        How = Cancelled;
        EmptySearch = true;
        QDialog::reject();
        return;
    }
    How = how;
    accept();
}

void TGetSrchStrDlg::FromTopBtnClick() { begin(FromTop); }
void TGetSrchStrDlg::FromCursorBtnClick() { begin(FromCursor); }

void TGetSrchStrDlg::CancelBtnClick() { reject(); }

void TGetSrchStrDlg::reject() {
    How = Cancelled;
    EmptySearch = false;
    QDialog::reject();
}
