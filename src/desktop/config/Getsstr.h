// SPDX-License-Identifier: GPL-3.0-or-later
// TGetSrchStrDlg: the search string dialog every searchable list uses. It
// keeps its text, where to begin and "Case Dependent" for the whole run.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TGetSrchStrDlg : public QDialog {
    Q_OBJECT
public:
    enum SearchFrom { FromTop, FromCursor, Cancelled };

    explicit TGetSrchStrDlg(QWidget* parent = nullptr);
    ~TGetSrchStrDlg() override;

    // Kept from one use to the next.
    QString SearchText;           // at most 80 characters
    SearchFrom How = Cancelled;
    bool CaseDependent = false;
    // The last closing was a search asked for with an empty text: cancelled
    // like Cancel, and the opener says that nothing was found.
    bool EmptySearch = false;

    // The help topic list empties the text and the case flag on activation.
    void ResetSearch();

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* SrchStr1;
    QPushButton* FromTopBtn;
    QPushButton* FromCursorBtn;
    QPushButton* CancelBtn;
    QCheckBox* CaseBox;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FromTopBtnClick();
    void FromCursorBtnClick();
    void CancelBtnClick();
    void begin(SearchFrom how);
};

// The one search dialog of the running program: the one set (the main window
// sets its own), else one made on first use. A set dialog that is destroyed
// stops being the one.
TGetSrchStrDlg* GetSrchStrDlg();
void setGetSrchStrDlg(TGetSrchStrDlg* dlg);
