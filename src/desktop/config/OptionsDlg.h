// SPDX-License-Identifier: GPL-3.0-or-later
// TOptionsDlg ("Software Options"): the instructor's options, edited in place
// in the record of the options object the opener hands over. Every showing
// takes a snapshot of the record; Cancel puts it back.
#pragma once

#include "lab/OptionsRecord.h"

#include <QDialog>
#include <vector>

class OptsObj;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsDlg(QWidget* parent = nullptr);
    ~TOptionsDlg() override;

    // The object whose record the dialog edits; set by the opener before the
    // dialog is shown and reset afterwards.
    OptsObj* Opts = nullptr;

    QTabWidget* PageControl1;
    QWidget* GeneralTab;
    QWidget* FilesTab;
    QGroupBox* OptionsGrp;
    QGroupBox* ParametersGrp;
    QGroupBox* SpecialGrp;
    QGroupBox* URLsGrp;
    QGroupBox* SplashGrp;
    QGroupBox* HelpFilesGrp;
    QGroupBox* DataFilesGrp;

    QCheckBox *DemoBox, *TestBox, *EditBox, *IDMoonBox, *DistanceBox, *AutoRBox, *CloudsBox,
        *RestartBox, *AnimationBox, *TopViewBox, *VisibilityBox, *MonoBox, *ColorBox, *LogBox,
        *AdminBox;
    QLineEdit *CloudyEd, *AnmStepEd, *ObsIntEd, *DispTmrEd, *ZnEd, *RSEd;
    QLineEdit *ORVAURLEd, *LogoEd, *TitleEd, *MnHlpEd, *AnalHlpEd, *TopHlpEd, *UsrHlpEd, *RmdrEd,
        *JupImgsEd, *OuterPlEd, *LeapSecEd, *HtLstEd, *LogFlEd;
    QLineEdit* TblNumEd;
    QLineEdit* PWEd;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The label beside an edit (for tests and screenshots).
    QLabel* labelFor(QLineEdit* edit) const;

    void OKBtnClick();
    void CancelBtnClick();
    void AdminBoxClick(bool checked);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override; // Escape and the close box act as Cancel

private:
    void FormActivate();
    // Steps of OK; false stops it (the dialog stays open).
    void storeBoxesAndTexts(OptionsRecord& r);
    bool storeNumbers(OptionsRecord& r);
    // Every text can be stored in the file, and the names that must be bare
    // are; else a message and the focus on the text.
    bool textsStorable();
    void refuse(QLineEdit* edit, const QString& caption, const QString& text);
    void storePassword(OptionsRecord& r);

    struct BoxField;
    struct TextField;
    struct NumberField;
    std::vector<BoxField> boxes_;
    std::vector<TextField> texts_;
    std::vector<NumberField> numbers_; // in the order they are converted
    OptionsRecord snapshot_;
    bool haveSnapshot_ = false;
};

// Shows the options dialog for opts modally; true when it closed with OK (the
// object's record then holds the new options).
bool EditOptions(OptsObj& opts, QWidget* parent = nullptr);
