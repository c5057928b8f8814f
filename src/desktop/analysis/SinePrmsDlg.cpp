// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/SinePrmsDlg.h"

#include "lab/AnalysisTexts.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TSineParmsDlg::TSineParmsDlg(SineParamsTable& params, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), params_(params) {
    setObjectName("TSineParmsDlg");
    setWindowTitle(QStringLiteral("Sine Curve Parameters"));
    auto* grid = new QGridLayout;
    auto row = [&](int r, const char* caption, QLabel*& label, QLineEdit*& edit) {
        label = new QLabel(QString::fromUtf8(caption), this);
        edit = new QLineEdit(this);
        edit->setFixedWidth(120);
        label->setBuddy(edit);
        grid->addWidget(label, r, 0, Qt::AlignRight);
        grid->addWidget(edit, r, 1);
    };
    row(0, "T-Zero (Mod. Jul. Date):", TZeroLbl, TZeroEd);
    row(1, "Period (Days):", PeriodLbl, PeriodEd);
    row(2, "Amplitude (Jup. Diams.):", AmplLbl, AmplEd);
    NoteLbl = new QLabel(QStringLiteral("See \"Help\"->\"Fit Sine Curve\" for information on "
                                        "estimating initial values from data plots."),
                         this);
    NoteLbl->setWordWrap(true);
    NoteLbl->setFixedWidth(280);
    QDialogButtonBox* buttons = okCancelButtons(this, OKBtn, CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(NoteLbl);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OKBtn, &QPushButton::clicked, this, &TSineParmsDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TSineParmsDlg::CancelBtnClick);
}

void TSineParmsDlg::showValues() {
    if (Moon < 1 || Moon > kMoonCount) return;
    const SineParameterTexts texts = SineParameterTextsOf(params_[Moon]);
    TZeroEd->setText(QString::fromStdString(texts.TZero));
    PeriodEd->setText(QString::fromStdString(texts.Period));
    AmplEd->setText(QString::fromStdString(texts.Amplitude));
}

void TSineParmsDlg::ShowMoon(int moon) {
    Moon = moon;
    showValues();
}

void TSineParmsDlg::showEvent(QShowEvent* event) {
    showValues();
    TZeroEd->setFocus();
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void TSineParmsDlg::OKBtnClick() {
    if (Moon < 1 || Moon > kMoonCount) return;
    // Each value is kept as soon as it converts; the dialog stays open on a message.
    if (const std::optional<Message> m =
            AcceptSineParameters(params_[Moon], TZeroEd->text().toStdString(),
                                 PeriodEd->text().toStdString(), AmplEd->text().toStdString())) {
        desktop().message(*m);
        return;
    }
    accept();
}

void TSineParmsDlg::CancelBtnClick() {
    reject();
}
