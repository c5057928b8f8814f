// SPDX-License-Identifier: GPL-3.0-or-later
// TSineParmsDlg ("Sine Curve Parameters"): the initial T-zero, period and
// amplitude of the selected moon's sine curve. Shown without blocking the
// analysis window and above it, it follows the moon selected there; it
// closes accepted once all three texts convert, and the window then shows
// the curve.
#pragma once

#include "lab/SineModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TSineParmsDlg : public QDialog {
    Q_OBJECT
public:
    // params outlives the dialog.
    explicit TSineParmsDlg(SineParamsTable& params, QWidget* parent = nullptr);

    int Moon = 0; // the moon whose parameters are edited; set before showing
    // Edits another moon's parameters: its values replace the texts.
    void ShowMoon(int moon);

    QLabel *TZeroLbl, *PeriodLbl, *AmplLbl, *NoteLbl;
    QLineEdit *TZeroEd, *PeriodEd, *AmplEd;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showValues();

    SineParamsTable& params_;
};
