// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/TimingDlg.h"

#include "lab/ObservationClock.h"
#include "lab/OptionsRecord.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TTimingDlgForm1::TTimingDlgForm1(long double& dataInterval, long double& animationStepHours,
                                 uint16_t& animationTimerMs, const OptionsRecord& options,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      dataInterval_(dataInterval), animationStepHours_(animationStepHours),
      animationTimerMs_(animationTimerMs), options_(options) {
    setObjectName("TTimingDlgForm1");
    setWindowTitle(QString::fromUtf8(kTimingCaption));
    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, const char* name, QLabel*& label) {
        label = new QLabel(caption, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setFixedWidth(80);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    IntervalEd = addRow(0, QStringLiteral("Observation Interval (Hrs)"), "IntervalEd", IntervalLbl);
    StepEd = addRow(1, QStringLiteral("Animation Step (Hrs)"), "StepEd", StepLbl);
    TimrEd = addRow(2, QStringLiteral("Animation Timer (MSec)"), "TimrEd", TimrLbl);
    QDialogButtonBox* box =
        okCancelButtons(this, OKBtn, CancelBtn, QStringLiteral("&OK"), QStringLiteral("&Cancel"));
    DfltBtn = new QPushButton(QStringLiteral("&Defaults"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(box);
    buttons->addWidget(DfltBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OKBtn, &QPushButton::clicked, this, &TTimingDlgForm1::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(DfltBtn, &QPushButton::clicked, this, &TTimingDlgForm1::DfltBtnClick);
}

void TTimingDlgForm1::showEvent(QShowEvent* event) {
    FormActivate();
    adjustSize();
    centreOnParent(this);
    QDialog::showEvent(event);
    IntervalEd->setFocus();
}

void TTimingDlgForm1::fillEdits(long double interval, long double step, unsigned timerMs) {
    const std::array<std::string, 3> texts =
        TimingEntryTexts({interval, step, uint16_t(std::min(timerMs, 65535u))});
    for (std::size_t k = 0; k < texts.size(); ++k)
        edits()[k]->setText(QString::fromStdString(texts[k]));
}

std::array<QLineEdit*, 3> TTimingDlgForm1::edits() const {
    return {IntervalEd, StepEd, TimrEd};
}

void TTimingDlgForm1::FormActivate() {
    fillEdits(dataInterval_, animationStepHours_, animationTimerMs_);
}

void TTimingDlgForm1::DfltBtnClick() {
    fillEdits(options_.ObsInterval, options_.AnimationStep, options_.TimerInterval);
}

void TTimingDlgForm1::OKBtnClick() {
    // The values taken before a text that is no number stay, as the edits
    // are read in order.
    TimingValues values{dataInterval_, animationStepHours_, animationTimerMs_};
    std::array<std::string, 3> texts;
    for (std::size_t k = 0; k < texts.size(); ++k)
        texts[k] = edits()[k]->text().toStdString();
    const TimingOutcome r = TakeTimingEntries(values, texts);
    dataInterval_ = values.DataInterval;
    animationStepHours_ = values.AnimationStepHours;
    animationTimerMs_ = values.AnimationTimerMs;
    if (r.message) {
        // The edit gets the focus so that the student can correct it.
        desktop().message(*r.message);
        QLineEdit* edit = edits()[std::size_t(r.failedField)];
        edit->setFocus();
        edit->selectAll();
        return;
    }
    accept();
}
