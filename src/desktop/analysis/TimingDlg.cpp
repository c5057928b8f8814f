// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/TimingDlg.h"

#include "lab/OptionsRecord.h"
#include "ephemeris/StringUt.h"
#include "platform/Desktop.h"
#include "widgets/DialogUtil.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TTimingDlgForm1::TTimingDlgForm1(long double& dataInterval, long double& animationStepHours,
                                 uint16_t& animationTimerMs, const OptionsRecord& options,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      dataInterval_(dataInterval), animationStepHours_(animationStepHours),
      animationTimerMs_(animationTimerMs), options_(options) {
    setObjectName("TTimingDlgForm1");
    setWindowTitle(QStringLiteral("Timing Intervals"));
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
    IntervalEd->setText(QString::fromStdString(FixedText(interval, 2)));
    StepEd->setText(QString::fromStdString(FixedText(step, 2)));
    TimrEd->setText(QString::number(timerMs));
}

void TTimingDlgForm1::FormActivate() {
    fillEdits(dataInterval_, animationStepHours_, animationTimerMs_);
}

void TTimingDlgForm1::DfltBtnClick() {
    fillEdits(options_.ObsInterval, options_.AnimationStep, options_.TimerInterval);
}

namespace {

// The message for an edit that does not hold a value; the edit gets the focus
// so that the student can correct it.
void reportUnreadable(QDialog* dialog, QLineEdit* edit, const QString& text) {
    showMessage(dialog->windowTitle(), text, MsgIcon::Error);
    edit->setFocus();
    edit->selectAll();
}

} // namespace

bool TTimingDlgForm1::takeHours(QLineEdit* edit, long double& hours) {
    // A step of no time, or of centuries, carries the clock nowhere or beyond
    // any calendar.
    long double value = 0.0L;
    if (!ParseDecimal(edit->text().toStdString(), value) || !IntervalRange.holds(value)) {
        reportUnreadable(
            this, edit,
            QStringLiteral("'") + edit->text() + QStringLiteral("' is not a number of hours ") +
                QString::fromStdString(rangeText(IntervalRange, 2, "")) + QStringLiteral("."));
        return false;
    }
    hours = value;
    return true;
}

bool TTimingDlgForm1::takeMilliseconds(QLineEdit* edit, uint16_t& ms) {
    // A timer of 0 ms would leave the processor no time for anything else.
    long long value = 0;
    if (!ParseInteger(edit->text().toStdString(), value) ||
        !TimerIntervalRange.holds(static_cast<long double>(value))) {
        reportUnreadable(this, edit,
                         QStringLiteral("'") + edit->text() +
                             QStringLiteral("' is not a whole number of milliseconds ") +
                             QString::fromStdString(rangeText(TimerIntervalRange, 0, "")) +
                             QStringLiteral("."));
        return false;
    }
    ms = uint16_t(value);
    return true;
}

void TTimingDlgForm1::OKBtnClick() {
    if (!takeHours(IntervalEd, dataInterval_)) return;
    if (!takeHours(StepEd, animationStepHours_)) return;
    if (!takeMilliseconds(TimrEd, animationTimerMs_)) return;
    accept();
}
