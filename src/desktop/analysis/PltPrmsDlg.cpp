// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PltPrmsDlg.h"

#include "lab/AnalysisTexts.h"
#include "lab/MoonPlot.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

TPlotParmsDlg::TPlotParmsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("TPlotParmsDlg");
    setWindowTitle(QStringLiteral("Set Data Span for Plot"));

    AvailableGrp = new QGroupBox(QStringLiteral("Available Data"), this);
    auto* available = new QFormLayout(AvailableGrp);
    auto readOnly = [&](const char* caption) {
        auto* edit = new QLineEdit(AvailableGrp);
        edit->setReadOnly(true);
        edit->setFixedWidth(120);
        available->addRow(QString::fromUtf8(caption), edit);
        return edit;
    };
    DataStrtEd = readOnly("Data Start (JD):");
    DataEndEd = readOnly("Data End (JD):");
    DaysEd = readOnly("# of Days:");

    PlotStrtLbl = new QLabel(QStringLiteral("Enter last 3 digits of start date for plot:"), this);
    PlotStrtLbl2 = new QLabel(QStringLiteral("(Whole #, 0-999):"), this);
    PlotStrtEd = new QLineEdit(this);
    PlotStrtEd->setMaxLength(int(PlotStartMaxChars));
    PlotStrtEd->setFixedWidth(48);
    PlotStrtLbl->setBuddy(PlotStrtEd);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(PlotStrtLbl2);
    startRow->addWidget(PlotStrtEd);
    startRow->addStretch();

    PltDaysGrp = new QGroupBox(QStringLiteral("# of Days to Plot"), this);
    auto* days = new QVBoxLayout(PltDaysGrp);
    for (int i = 0; i < SpanItemCount; ++i) {
        PltDaysBtn[i] = new QRadioButton(QString::fromUtf8(SpanItemTexts[i]), PltDaysGrp);
        days->addWidget(PltDaysBtn[i]);
    }
    PltDaysBtn[0]->setChecked(true);

    QDialogButtonBox* buttons = okCancelButtons(this, OKBtn, CancelBtn);

    auto* left = new QVBoxLayout;
    left->addWidget(AvailableGrp);
    left->addWidget(PlotStrtLbl);
    left->addLayout(startRow);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(PltDaysGrp, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OKBtn, &QPushButton::clicked, this, &TPlotParmsDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TPlotParmsDlg::SelectedSpanItem() const {
    for (int i = 0; i < SpanItemCount; ++i)
        if (PltDaysBtn[i]->isChecked()) return i;
    return 0;
}

void TPlotParmsDlg::showEvent(QShowEvent* event) {
    if (Info) {
        const SpanFormTexts texts = SpanFormTextsOf(*Info);
        DataStrtEd->setText(QString::fromStdString(texts.DataStart));
        DataEndEd->setText(QString::fromStdString(texts.DataEnd));
        DaysEd->setText(QString::fromStdString(texts.Days));
        PlotStrtEd->setText(QString::fromStdString(texts.PlotStart));
        PltDaysBtn[texts.SpanItem]->setChecked(true);
    }
    PlotStrtEd->setFocus();
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget()) {
        const QRect o = owner->frameGeometry();
        move(o.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void TPlotParmsDlg::OKBtnClick() {
    MoonPlotInfoRec scratch; // without a plot the text is still checked
    if (const std::optional<Message> m = AcceptPlotSpan(
            Info ? *Info : scratch, PlotStrtEd->text().toStdString(), SelectedSpanItem())) {
        desktop().message(*m);
        return;
    }
    accept();
}
