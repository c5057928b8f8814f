// SPDX-License-Identifier: GPL-3.0-or-later
// TFeaturesForm1 ("Select Features"): switches the optional features of the
// observation, each offered only when the instructor's options allow it.
#pragma once

#include "lab/Features.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
struct OptionsRecord;

class TFeaturesForm1 : public QDialog {
    Q_OBJECT
public:
    // flags: the main window's feature flags, changed only by OK. options: the
    // working options. Both outlive the dialog.
    TFeaturesForm1(FeatureFlags& flags, const OptionsRecord& options, QWidget* parent = nullptr);

    QCheckBox* AnimationBox;
    QCheckBox* IDBox;
    QCheckBox* TopViewBox;
    QCheckBox* StopAnimBox;
    QCheckBox* ShowEclBox;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // Each box enabled by its option and showing its flag; a disabled eclipse
    // box shows unchecked.
    void FormActivate();
    // Every flag takes its box's state.
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    FeatureFlags& flags_;
    const OptionsRecord& options_;
};
