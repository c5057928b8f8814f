// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/DtUTdlg.h"

#include "config/HotList.h"
#include "lab/HotListFile.h"
#include "lab/ObservationClock.h"
#include "lab/OptionsRecord.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

TUTTimeDlg::TUTTimeDlg(OptionsRecord* options, LoginRecord* login, bool withHotlistMenu,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      options_(options), login_(login) {
    setObjectName(withHotlistMenu ? "TUTTimeDlg" : "EditDateTimeDlg");
    setWindowTitle(withHotlistMenu ? QStringLiteral("Set Date/Time")
                                   : QStringLiteral("Edit Date/Time"));
    DateLbl = new QLabel(QStringLiteral("Observation Date"), this);
    DateFmtLbl = new QLabel(QStringLiteral("YYYY/MM/DD"), this);
    TimeLbl = new QLabel(QStringLiteral("Universal Time (UTC) "), this);
    TimeFmtLbl = new QLabel(QStringLiteral("HH:MM:SS"), this);
    DateEd = new QLineEdit(this);
    DateEd->setObjectName("DateEd");
    DateEd->setToolTip(QStringLiteral("Enter full (4 digit) year"));
    TimeEd = new QLineEdit(this);
    TimeEd->setObjectName("TimeEd");
    TimeEd->setToolTip(QStringLiteral("Use 24 hr format."));
    CmntEd = new QLineEdit(this);
    CmntEd->setObjectName("CmntEd");
    CmntEd->setMaxLength(int(HotListCommentMax));
    CmntEd->setMinimumWidth(300);
    CmntEd->setAccessibleName(QStringLiteral("Comment"));
    DateLbl->setBuddy(DateEd);
    TimeLbl->setBuddy(TimeEd);
    QDialogButtonBox* buttons = okCancelButtons(this, OKBtn, CancelBtn);

    auto* grid = new QGridLayout;
    grid->addWidget(DateLbl, 0, 0);
    grid->addWidget(DateEd, 0, 1);
    grid->addWidget(DateFmtLbl, 0, 2);
    grid->addWidget(TimeLbl, 1, 0);
    grid->addWidget(TimeEd, 1, 1);
    grid->addWidget(TimeFmtLbl, 1, 2);
    auto* layout = new QVBoxLayout(this);
    if (withHotlistMenu) {
        MenuBar = new QMenuBar(this);
        Hotlist1 = MenuBar->addMenu(QStringLiteral("&Hotlist"));
        AccessHotlist1 = Hotlist1->addAction(QStringLiteral("&Access Hotlist..."));
        PutDateTimeonHotlist1 = Hotlist1->addAction(QStringLiteral("&Put Date/Time on Hotlist..."));
        SaveUpdatedHotlist1 = Hotlist1->addAction(QStringLiteral("&Save Updated Hotlist..."));
        layout->setMenuBar(MenuBar);
        connect(AccessHotlist1, &QAction::triggered, this, &TUTTimeDlg::AccessHotlist1Click);
        connect(PutDateTimeonHotlist1, &QAction::triggered, this,
                &TUTTimeDlg::PutDateTimeonHotlist1Click);
        connect(SaveUpdatedHotlist1, &QAction::triggered, this,
                &TUTTimeDlg::SaveUpdatedHotlist1Click);
    }
    layout->addLayout(grid);
    layout->addWidget(CmntEd);
    layout->addWidget(buttons);

    connect(OKBtn, &QPushButton::clicked, this, &TUTTimeDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TUTTimeDlg::FillEdits() {
    // The edits show UT: the clock value plus the zone offset.
    DateEd->setText(QString::fromStdString(UTDateEntryText(Clock)));
    TimeEd->setText(QString::fromStdString(UTTimeEntryText(Clock)));
    CmntEd->setText(Comment.left(int(HotListCommentMax)));
}

void TUTTimeDlg::showEvent(QShowEvent* event) {
    FillEdits();
    CmntEd->setVisible(options_ && options_->EditMode);
    CancelBtn->setEnabled(CancelEnabled);
    if (SaveUpdatedHotlist1) SaveUpdatedHotlist1->setEnabled(false);
    adjustSize();
    centreOnScreen(this);
    QDialog::showEvent(event);
    DateEd->setFocus();
    DateEd->selectAll();
}

bool TUTTimeDlg::TakeEntry() {
    if (const auto error =
            TakeDateTimeEntry(Clock, DateEd->text().toStdString(), TimeEd->text().toStdString(),
                              windowTitle().toStdString())) {
        desktop().message(*error);
        return false;
    }
    if (options_ && options_->EditMode) Comment = CmntEd->text().left(int(HotListCommentMax));
    return true;
}

void TUTTimeDlg::reject() {
    // With Cancel disabled the date must be confirmed with OK: Escape and the
    // window's close box do nothing.
    if (!CancelEnabled) return;
    QDialog::reject();
}

void TUTTimeDlg::OKBtnClick() {
    if (TakeEntry()) accept();
}

void TUTTimeDlg::AccessHotlist1Click() {
    THotListForm1* form = ensureHotListForm1(options_, login_);
    if (form->List.IsEmpty()) {
        desktop().message(HotListEmptyMessage());
        return;
    }
    desktop().execDialog(*form);
    if (form->Chosen) {
        SetFromClock(Clock, form->Chosen->Instant);
        Comment = QString::fromStdString(form->Chosen->Comment);
        FillEdits();
    }
    if (SaveUpdatedHotlist1) SaveUpdatedHotlist1->setEnabled(!form->Editor.Saved);
}

void TUTTimeDlg::PutDateTimeonHotlist1Click() {
    THotListForm1* form = ensureHotListForm1(options_, login_);
    if (!TakeEntry()) return;
    form->Put(HotListEntry{Clock.ClockValue, Comment.toStdString()});
    if (SaveUpdatedHotlist1) SaveUpdatedHotlist1->setEnabled(true);
}

void TUTTimeDlg::SaveUpdatedHotlist1Click() {
    THotListForm1* form = ensureHotListForm1(options_, login_);
    form->SaveList1Click();
    if (SaveUpdatedHotlist1) SaveUpdatedHotlist1->setEnabled(!form->Editor.Saved);
}
