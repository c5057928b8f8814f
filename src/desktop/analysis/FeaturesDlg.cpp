// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/FeaturesDlg.h"

#include "lab/OptionsRecord.h"
#include "widgets/DialogUtil.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// One box: its flag, the option that offers it, and whether a box that is not
// offered shows unchecked (the eclipse features: without eclipse visibility
// there is no eclipse to stop on or to show).
struct FeatureBox {
    QCheckBox* TFeaturesForm1::*box;
    const char* name;
    const char* caption;
    bool FeatureFlags::*flag;
    bool OptionsRecord::*option;
    bool clearedWhenOff;
};

constexpr FeatureBox kBoxes[] = {
    {&TFeaturesForm1::AnimationBox, "AnimationBox", "Animation", &FeatureFlags::AnimationFeature,
     &OptionsRecord::AllowAnimation, false},
    {&TFeaturesForm1::IDBox, "IDBox", "Use ID Colors", &FeatureFlags::IDColorsFeature,
     &OptionsRecord::IdentifyMoon, false},
    {&TFeaturesForm1::TopViewBox, "TopViewBox", "Show Top View", &FeatureFlags::TopViewFeature,
     &OptionsRecord::AllowTopView, false},
    {&TFeaturesForm1::StopAnimBox, "StopAnimBox", "Stop Animation on Eclipse",
     &FeatureFlags::StopOnEclipseFeature, &OptionsRecord::EclipseVisibility, true},
    {&TFeaturesForm1::ShowEclBox, "ShowEclBox", "Show Eclipsed Moon",
     &FeatureFlags::ShowEclipsedFeature, &OptionsRecord::EclipseVisibility, true},
};

} // namespace

TFeaturesForm1::TFeaturesForm1(FeatureFlags& flags, const OptionsRecord& options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      flags_(flags), options_(options) {
    setObjectName("TFeaturesForm1");
    setWindowTitle(QStringLiteral("Select Features"));
    auto* layout = new QVBoxLayout(this);
    for (const FeatureBox& b : kBoxes) {
        QCheckBox* box = new QCheckBox(QString::fromLatin1(b.caption), this);
        box->setObjectName(QString::fromLatin1(b.name));
        this->*b.box = box;
        layout->addWidget(box);
    }
    QDialogButtonBox* buttons = okCancelButtons(this, OKBtn, CancelBtn);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OKBtn, &QPushButton::clicked, this, &TFeaturesForm1::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TFeaturesForm1::showEvent(QShowEvent* event) {
    FormActivate();
    adjustSize();
    centreOnParent(this);
    QDialog::showEvent(event);
}

void TFeaturesForm1::FormActivate() {
    for (const FeatureBox& b : kBoxes) {
        QCheckBox* box = this->*b.box;
        const bool offered = options_.*b.option;
        box->setEnabled(offered);
        box->setChecked(flags_.*b.flag && (offered || !b.clearedWhenOff));
    }
}

void TFeaturesForm1::OKBtnClick() {
    for (const FeatureBox& b : kBoxes)
        flags_.*b.flag = (this->*b.box)->isChecked() && (options_.*b.option || !b.clearedWhenOff);
    accept();
}
