// SPDX-License-Identifier: GPL-3.0-or-later
// TPlotParmsDlg ("Set Data Span for Plot"): shows the selected moon's data
// and sets the first plotted day and the number of days plotted. Modal.
#pragma once

#include <QDialog>

struct MoonPlotInfoRec;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TPlotParmsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPlotParmsDlg(QWidget* parent = nullptr);

    // The plot edited; set before showing, outlives the showing.
    MoonPlotInfoRec* Info = nullptr;

    QGroupBox* AvailableGrp;
    QLineEdit *DataStrtEd, *DataEndEd, *DaysEd;
    QLabel *PlotStrtLbl, *PlotStrtLbl2;
    QLineEdit* PlotStrtEd;
    QGroupBox* PltDaysGrp;
    QRadioButton* PltDaysBtn[5];
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The item chosen in PltDaysGrp, 0..4.
    int SelectedSpanItem() const;

    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
};
