// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Login.h"

#include "lab/LoginRules.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// At most n characters (UTF-16 units) of a typed text, never splitting a
// surrogate pair.
std::string typedText(const QLineEdit* edit, int n) {
    return firstUtf16Units(edit->text().toStdString(), std::size_t(n));
}

} // namespace

TLoginDlg::TLoginDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TLoginDlg");
    setWindowTitle("Student Accounting");
    setWindowIcon(programIcon());

    Label1 = new QLabel("Enter Student Name(s)  (Firstname...Lastname)", this);
    QLineEdit** edits[4] = {&Stud1, &Stud2, &Stud3, &Stud4};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        StudLbl[i] = new QLabel(QString("Student #%1:").arg(i + 1), this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("Stud%1").arg(i + 1));
        edit->setMaxLength(int(MaxStudentNameChars));
        edit->setMinimumWidth(280);
        StudLbl[i]->setBuddy(edit);
        grid->addWidget(StudLbl[i], i, 0);
        grid->addWidget(edit, i, 1);
        *edits[i] = edit;
    }
    TableLbl = new QLabel("Laboratory Table Number:", this);
    LabTbl = new QLineEdit(this);
    LabTbl->setObjectName("LabTbl");
    LabTbl->setMaxLength(int(MaxLabTableChars));
    LabTbl->setMaximumWidth(60);
    TableLbl->setBuddy(LabTbl);
    auto* table = new QHBoxLayout;
    table->addWidget(TableLbl);
    table->addWidget(LabTbl);
    table->addStretch();

    OKBtn = new QPushButton("OK", this);
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(grid);
    layout->addLayout(table);
    layout->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TLoginDlg::OKBtnClick);
}

void TLoginDlg::showEvent(QShowEvent* event) {
    if (LoginRec != nullptr) {
        LoginRec->StudentName1.clear();
        LoginRec->StudentName2.clear();
        LoginRec->StudentName3.clear();
        LoginRec->StudentName4.clear();
        LoginRec->LabTable.clear();
    }
    for (QLineEdit* e : {Stud1, Stud2, Stud3, Stud4, LabTbl})
        e->clear();
    adjustSize();
    centreOnScreen(this);
    QDialog::showEvent(event);
    Stud1->setFocus();
}

void TLoginDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TLoginDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TLoginDlg::OKBtnClick() {
    if (LoginRec == nullptr) {
        showMessage("Cannot Record Login!", "Login Record Not Assigned!", MsgIcon::Warning, BtnOk);
        accept();
        return;
    }
    // Store what was typed.
    const int nameMax = int(MaxStudentNameChars);
    LoginRec->StudentName1 = typedText(Stud1, nameMax);
    LoginRec->StudentName2 = typedText(Stud2, nameMax);
    LoginRec->StudentName3 = typedText(Stud3, nameMax);
    LoginRec->StudentName4 = typedText(Stud4, nameMax);
    LoginRec->LabTable = typedText(LabTbl, int(MaxLabTableChars));

    if (!LoginRec->StudentName1.empty()) {
        // A first name: confirm.
        if (desktop().message(LoginCompletedQuestion()) == MsgResult::Yes) {
            LoginRec->LoginId = LoginIdFor(LoginRec->StudentName1);
            accept();
        }
        return;
    }
    // No first name, whatever the others hold.
    if (desktop().message(NoEntryMessage()) == MsgResult::Ok) {
        setImproperLogin(*LoginRec);
        accept();
    }
}
