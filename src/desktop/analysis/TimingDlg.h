// SPDX-License-Identifier: GPL-3.0-or-later
// TTimingDlgForm1 ("Timing Intervals"): the step of "Next", the step of one
// animation tick and the animation timer's period, edited in place.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
struct OptionsRecord;

class TTimingDlgForm1 : public QDialog {
    Q_OBJECT
public:
    // The three values are the main window's (hours, hours, milliseconds);
    // options: the working options, whose values Defaults offers. All outlive
    // the dialog.
    TTimingDlgForm1(long double& dataInterval, long double& animationStepHours,
                    uint16_t& animationTimerMs, const OptionsRecord& options,
                    QWidget* parent = nullptr);

    QLabel* IntervalLbl;
    QLabel* StepLbl;
    QLabel* TimrLbl;
    QLineEdit* IntervalEd;
    QLineEdit* StepEd;
    QLineEdit* TimrEd;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* DfltBtn;

    // The edits show the values.
    void FormActivate();
    // The edits show the options' values; nothing is stored.
    void DfltBtnClick();
    // Stores the values in the order of the edits. A text that is not a number
    // is reported and the dialog stays open; the values before it are stored.
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillEdits(long double interval, long double step, unsigned timerMs);
    std::array<QLineEdit*, 3> edits() const;

    long double& dataInterval_;
    long double& animationStepHours_;
    uint16_t& animationTimerMs_;
    const OptionsRecord& options_;
};
